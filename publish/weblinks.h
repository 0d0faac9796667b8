#pragma once
// The two buttons that open web pages: the check page of the site and the publisher's address.

#include <string>

class QWidget;

namespace velmaro {

// Hands the address to the default browser and does not wait; the outcome is not examined.
void SeiteOeffnen(const std::string& adresse);
// "Kontrollseite" for the FTP address ftpAdresse; a message owned by parent when it is too short.
void KontrollseiteOeffnen(QWidget* parent, const std::string& ftpAdresse);
void HomepageOeffnen();

} // namespace velmaro
