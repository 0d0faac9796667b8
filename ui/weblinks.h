#pragma once
// The window's two buttons that open web pages: the check page of the site and the publisher's
// address.

#include "store/einstellungen.h"

class QWidget;

namespace velmaro {

// "Kontrollseite"; a message owned by parent when the settings give no check page.
void KontrollseiteOeffnen(QWidget* parent, const FtpZugangsdaten& ftp);
void HomepageOeffnen(QWidget* parent);

} // namespace velmaro
