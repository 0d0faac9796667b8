#include "widgets/dialogunits.h"

#include <QDialog>
#include <QFontMetrics>

namespace velmaro {

namespace {
int mulDiv(int a, int b, int c) {
    return static_cast<int>((static_cast<long long>(a) * b + c / 2) / c);
}
} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    QFontMetrics fm(font);
    // The same average as the Windows dialog manager: over the 52 Latin letters, rounded.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = (fm.horizontalAdvance(letters) + 26) / 52;
    m_baseY = fm.height();
}

int DialogUnits::x(int units) const {
    return mulDiv(units, m_baseX, 4);
}
int DialogUnits::y(int units) const {
    return mulDiv(units, m_baseY, 8);
}

QRect DialogUnits::rect(int x0, int y0, int w, int h) const {
    return QRect(x(x0), y(y0), x(w), y(h));
}

QFont dialogFont(int pointSize) {
    QFont f(QStringLiteral("Arial"), pointSize);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

DialogUnits festerDialog(QDialog& dlg, const QString& titel, int breite, int hoehe) {
    dlg.setWindowTitle(titel);
    dlg.setFont(dialogFont());
    // No minimise or maximise box, no resizing.
    dlg.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    const DialogUnits du(dlg.font());
    dlg.setFixedSize(du.x(breite), du.y(hoehe));
    return du;
}

} // namespace velmaro
