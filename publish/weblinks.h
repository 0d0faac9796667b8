#pragma once
// The address of the site's check page.

#include "store/einstellungen.h"

#include <optional>
#include <string>

namespace velmaro {

// The check page: news.php?sitename=data/inhalt1.php below the site's address (WebsiteAdresse of the
// FTP settings). Empty when none can be formed.
std::optional<std::string> KontrollseitenAdresse(const FtpZugangsdaten& ftp);

} // namespace velmaro
