#include "ui/aboutdlg.h"

#include "ui/programmicon.h"
#include "widgets/dialogunits.h"

#include <QLabel>
#include <QPushButton>

namespace velmaro {

AboutDlg::AboutDlg(QWidget* parent, const std::filesystem::path& ordner) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Info über velmaro"));
    setFont(dialogFont(8));
    const DialogUnits du(font());
    setFixedSize(du.x(235), du.y(55));

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgrammIcon().pixmap(32, 32));
    icon->move(du.x(11), du.y(17));
    icon->adjustSize();
    auto* version = new QLabel(QStringLiteral("velmaro Version " VELMARO_VERSION), this);
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(du.rect(40, 10, 119, 8));
    auto* zweite = new QLabel(QStringLiteral("Copyright (C) 2026 Dorvent"), this);
    zweite->setGeometry(du.rect(40, 25, 119, 8));
    // Where data/ and output/ lie: after a start from the desktop menu, a folder the user never chose.
    std::error_code ec;
    const QString pfad =
        QString::fromStdString(std::filesystem::absolute(ordner, ec).lexically_normal().string());
    auto* ort = new QLabel(this);
    ort->setObjectName(QStringLiteral("ordner"));
    ort->setTextFormat(Qt::PlainText);
    ort->setGeometry(du.rect(40, 40, 188, 8));
    ort->setText(QStringLiteral("Ordner: ") +
                 ort->fontMetrics().elidedText(pfad, Qt::ElideMiddle, du.x(160)));
    ort->setToolTip(pfad);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(du.rect(178, 7, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace velmaro
