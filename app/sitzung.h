#pragma once
// The window's run as the desktop sees it: SIGTERM, SIGHUP, SIGINT and the session's logout end it
// with everything unsaved in the recovery file.

namespace velmaro {

class VelmaroDlg;

// Runs dlg until it ends. 1 when it refused to open (another velmaro holds the folder).
int FensterAusfuehren(VelmaroDlg& dlg);

} // namespace velmaro
