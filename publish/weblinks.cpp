#include "publish/weblinks.h"

#include "platform/serveradresse.h"

namespace velmaro {

namespace {
constexpr const char* kSeite = "/news.php?sitename=data/inhalt1.php";
} // namespace

std::optional<std::string> KontrollseitenAdresse(const std::string& ftpAdresse) {
    // The form the page was made for: the address without its first six characters ("ftp://").
    if (ftpAdresse.rfind("ftp://", 0) == 0 && ftpAdresse.find_first_of(":@", 6) == std::string::npos)
        return "http://" + ftpAdresse.substr(6) + kSeite;
    if (const auto a = AdresseLesen(ftpAdresse))
        return "http://" + a->host + kSeite;
    return std::nullopt;
}

} // namespace velmaro
