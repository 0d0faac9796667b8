#include "publish/weblinks.h"

#include "platform/serveradresse.h"

namespace velmaro {

namespace {
constexpr const char* kSeite = "news.php?sitename=data/inhalt1.php";
} // namespace

std::optional<std::string> KontrollseitenAdresse(const FtpZugangsdaten& ftp) {
    if (const auto basis = WebsiteAdresse(ftp.website, ftp.adresse))
        return *basis + kSeite;
    return std::nullopt;
}

} // namespace velmaro
