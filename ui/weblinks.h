#pragma once
// The window's two buttons that open web pages: the check page of the site and the publisher's
// address.

#include <string>

class QWidget;

namespace velmaro {

// "Kontrollseite"; a message owned by parent when the FTP address gives no check page.
void KontrollseiteOeffnen(QWidget* parent, const std::string& ftpAdresse);
void HomepageOeffnen(QWidget* parent);

} // namespace velmaro
