#pragma once

#include <QIcon>

namespace velmaro {

// The program's icon in every size it ships (16 to 256 pixels), for the windows and the About box.
QIcon ProgrammIcon();

} // namespace velmaro
