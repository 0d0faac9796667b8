// The upload and the two web links, as the main window runs them.
#include "ui/velmarodlg.h"

#include <QPushButton>

namespace velmaro {

void VelmaroDlg::DatenUebertragen(int, int) { m_btnUpdate->setEnabled(true); }
void VelmaroDlg::SeiteOeffnen(const std::string&) {}
void VelmaroDlg::OnKontrollseite() {}
void VelmaroDlg::OnHomepage() {}

} // namespace velmaro
