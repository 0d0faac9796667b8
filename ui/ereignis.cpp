// The event display line.
#include "ui/velmarodlg.h"

#include <QLabel>

namespace velmaro {

void VelmaroDlg::Ereignisanzeige(Ereignisart art) {
    m_ereignisText = QString::fromUtf8(EreignisText(art));
    m_ereignis->setText(m_ereignisText);
    // Shown at once, also while a long action (the upload) keeps the window busy.
    m_ereignis->repaint();
}

} // namespace velmaro
