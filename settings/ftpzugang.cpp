#include "ui/velmarodlg.h"

namespace velmaro {

void VelmaroDlg::OnFtpZugang() {}

} // namespace velmaro
