// The event display line: ten fixed texts chosen by code.
#include "publish/upload.h"
#include "ui/velmarodlg.h"

#include <QLabel>

namespace velmaro {

namespace {
QString ereignisText(int code) {
    switch (code) {
    case 1:
        return QStringLiteral(
            "Wählen Sie einen Funktion aus dem Artikel Menu.\nSie können einen neuen Artikel "
            "anlegen oder\neinen Artikel zum Bearbeiten öffnen.");
    case 2:
        return QStringLiteral(
            "Sie können jetzt alle Eingaben für einen neuen Artikel eingeben:\n -Datum auswählen, "
            "-Überschrift eingeben -Textinhalt eingeben -Artikel speichern");
    case 4:
        return QStringLiteral("Menu und Dateien wurden erstellt!");
    case 5:
        return QStringLiteral("Artikel wurde gespeichert!");
    case 6:
        return QStringLiteral("Artikel wurde editiert und kann jetzt gelöscht oder geändert werden!");
    case 7:
        return QStringLiteral("Artikel wurde gelöscht!");
    default: {
        // The upload's events, which the batch mode reports too.
        const char* text = UploadEreignisText(code);
        return text ? QString::fromUtf8(text) : QString();
    }
    }
}
} // namespace

void VelmaroDlg::Ereignisanzeige(int code) {
    const QString text = ereignisText(code);
    if (!text.isNull())
        m_ereignisText = text;
    m_ereignis->setText(m_ereignisText);
    // Shown at once, also while a long action (the upload) keeps the window busy.
    m_ereignis->repaint();
}

} // namespace velmaro
