#pragma once

#include <QDialog>

#include <filesystem>

namespace velmaro {

class AboutDlg : public QDialog {
    Q_OBJECT
public:
    // ordner: the folder the program works in, named in the box.
    explicit AboutDlg(QWidget* parent = nullptr, const std::filesystem::path& ordner = ".");
};

} // namespace velmaro
