#pragma once
// Dialog units, the measure of the window templates: a quarter of the font's average character
// width across and an eighth of its height down.

#include <QFont>
#include <QRect>

namespace velmaro {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    QRect rect(int x, int y, int w, int h) const;
    int x(int units) const;
    int y(int units) const;
    int baseX() const { return m_baseX; }
    int baseY() const { return m_baseY; }

private:
    int m_baseX;
    int m_baseY;
};

// The templates' font: Arial, or the metric-compatible font that stands in for it.
QFont dialogFont(int pointSize = 9);

} // namespace velmaro
