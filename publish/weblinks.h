#pragma once
// The address of the site's check page.

#include <optional>
#include <string>

namespace velmaro {

// The check page of the FTP address ftpAdresse: "ftp://host" gives "http://host/news.php?...", every
// other form the upload accepts its host alone, never a port or a user. Empty when none can be
// formed.
std::optional<std::string> KontrollseitenAdresse(const std::string& ftpAdresse);

} // namespace velmaro
