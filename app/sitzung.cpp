#include "app/sitzung.h"

#include "ui/velmarodlg.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmaro {

namespace {
// A signal handler may only write to a descriptor; the window's thread reads the other end.
int g_signale[2] = {-1, -1};
constexpr int kSignale[] = {SIGTERM, SIGHUP, SIGINT};

void signalMerken(int nummer) {
    const char c = static_cast<char>(nummer);
    [[maybe_unused]] const ssize_t n = ::write(g_signale[1], &c, 1);
}
} // namespace

int FensterAusfuehren(VelmaroDlg& dlg) {
    if (dlg.Abgelehnt())
        return 1;
    if (g_signale[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signale) == 0)
        ::fcntl(g_signale[1], F_SETFL, O_NONBLOCK);
    std::unique_ptr<QSocketNotifier> melder;
    if (g_signale[0] >= 0) {
        melder = std::make_unique<QSocketNotifier>(g_signale[0], QSocketNotifier::Read);
        QObject::connect(melder.get(), &QSocketNotifier::activated, &dlg, [&dlg] {
            char c;
            [[maybe_unused]] const ssize_t n = ::read(g_signale[0], &c, 1);
            dlg.SitzungBeenden();
        });
        struct sigaction sa {};
        sa.sa_handler = signalMerken;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        for (int s : kSignale)
            ::sigaction(s, &sa, nullptr);
    }
    // The session manager may end the process right after this without a further word.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &dlg,
                     [&dlg](QSessionManager&) { dlg.SitzungSichern(); });
    dlg.exec();
    for (int s : kSignale)
        ::signal(s, SIG_DFL);
    return 0;
}

} // namespace velmaro
