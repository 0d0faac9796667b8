#pragma once
// Dialog units, the measure of the window templates: a quarter of the font's average character
// width across and an eighth of its height down.

#include <QFont>
#include <QRect>
#include <QString>

class QDialog;

namespace velmaro {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    QRect rect(int x, int y, int w, int h) const;
    int x(int units) const;
    int y(int units) const;

private:
    int m_baseX;
    int m_baseY;
};

// The templates' font: Arial, or the metric-compatible font that stands in for it.
QFont dialogFont(int pointSize = 9);

// Sets up a dialog as its template has it: title, Arial 9, a fixed modal frame with caption, system
// menu and close box, and its size in dialog units. Returns the units for placing the controls.
DialogUnits festerDialog(QDialog& dlg, const QString& titel, int breite, int hoehe);

} // namespace velmaro
