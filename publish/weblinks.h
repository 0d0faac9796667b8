#pragma once
// The two buttons that open web pages: the check page of the site and the publisher's address.

#include <optional>
#include <string>

class QWidget;

namespace velmaro {

// Hands an http address to the default browser and does not wait; a message owned by parent when
// no browser could be started or the address is no http address.
void SeiteOeffnen(QWidget* parent, const std::string& adresse);
// The check page of the FTP address ftpAdresse: "ftp://host" gives "http://host/news.php?...", every
// other form the upload accepts its host alone, never a port or a user. Empty when none can be
// formed.
std::optional<std::string> KontrollseitenAdresse(const std::string& ftpAdresse);
// "Kontrollseite"; a message owned by parent when the FTP address gives no check page.
void KontrollseiteOeffnen(QWidget* parent, const std::string& ftpAdresse);
void HomepageOeffnen(QWidget* parent);

} // namespace velmaro
