#pragma once
// The two buttons that open web pages: the check page of the site and the publisher's address.

#include "store/einstellungen.h"

#include <optional>
#include <string>

class QWidget;

namespace velmaro {

// Hands an http address to the default browser and does not wait; a message owned by parent when
// no browser could be started or the address is no http(s) address.
void SeiteOeffnen(QWidget* parent, const std::string& adresse);
// The check page: news.php?sitename=data/inhalt1.php below the site's address (WebsiteAdresse of the
// FTP settings). Empty when none can be formed.
std::optional<std::string> KontrollseitenAdresse(const FtpZugangsdaten& ftp);
// "Kontrollseite"; a message owned by parent when the settings give no check page.
void KontrollseiteOeffnen(QWidget* parent, const FtpZugangsdaten& ftp);
void HomepageOeffnen(QWidget* parent);

} // namespace velmaro
