#include "ui/velmarodlg.h"

namespace velmaro {

void VelmaroDlg::OnStylesheetAnpassen() {}

} // namespace velmaro
