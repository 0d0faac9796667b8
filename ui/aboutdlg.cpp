#include "ui/aboutdlg.h"

#include "platform/dialogunits.h"

#include <QLabel>
#include <QPushButton>

namespace velmaro {

AboutDlg::AboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Info über velmaro"));
    setFont(dialogFont(8));
    const DialogUnits du(font());
    setFixedSize(du.x(235), du.y(55));

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/velmaro.xpm")));
    icon->move(du.x(11), du.y(17));
    icon->adjustSize();
    auto* version = new QLabel(QStringLiteral("velmaro Version 1.0"), this);
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(du.rect(40, 10, 119, 8));
    auto* zweite = new QLabel(QStringLiteral("Copyright (C) 2026 Dorvent"), this);
    zweite->setGeometry(du.rect(40, 25, 119, 8));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(du.rect(178, 7, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace velmaro
