#pragma once

#include <QDialog>

namespace velmaro {

class AboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit AboutDlg(QWidget* parent = nullptr);
};

} // namespace velmaro
