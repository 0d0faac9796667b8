#pragma once
// "Update Website" runs beside the window: tests start it and wait until the window is unlocked.

#include "ui/velmarodlg.h"

#include <QSignalSpy>

namespace velmaro::test {

// Runs starten (a click, a command) and waits until the run it started has ended.
template <typename F> bool UpdateAbwarten(VelmaroDlg& dlg, F starten, int ms = 30000) {
    QSignalSpy ende(&dlg, &VelmaroDlg::uploadBeendet);
    starten();
    return !ende.isEmpty() || ende.wait(ms);
}

} // namespace velmaro::test
