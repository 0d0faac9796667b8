#include "ui/programmicon.h"

// Outside any namespace, as Qt requires: the resources live in a static library, whose registration
// the linker would otherwise drop.
static void ressourcenLaden() {
    Q_INIT_RESOURCE(velmaro);
}

namespace velmaro {

QIcon ProgrammIcon() {
    static const bool geladen = (ressourcenLaden(), true);
    (void)geladen;
    QIcon icon;
    for (int groesse : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(groesse), QSize(groesse, groesse));
    return icon;
}

} // namespace velmaro
