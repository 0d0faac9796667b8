#pragma once
// Starting the desktop's browser.

#include <string>

class QWidget;

namespace velmaro {

// Hands an http address to the default browser and does not wait; a message owned by parent when
// no browser could be started or the address is no http address.
void SeiteOeffnen(QWidget* parent, const std::string& adresse);

} // namespace velmaro
