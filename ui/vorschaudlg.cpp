// "Vorschau im Browser": writes output/ as "Update Website" does, without uploading, and the
// preview pages into vorschau/, then opens the first page in the browser.
#include "platform/unicode.h"
#include "site/generator.h"
#include "site/updatewebsite.h"
#include "site/vorschau.h"
#include "ui/velmarodlg.h"
#include "widgets/meldung.h"

#include <QDesktopServices>
#include <QStringList>
#include <QUrl>

namespace velmaro {

void VelmaroDlg::OnVorschau() {
    m_letzterLauf = WebsiteErzeugen(m_zustand.m_artikelListe, m_zustand.m_artikelProSeite, m_zustand.m_style,
                                    m_zustand.m_ftp, m_zustand.ausgabeOrdner());
    // Without a new output/ the preview keeps its previous pages too.
    if (!m_letzterLauf.fehlendeDateien.empty()) {
        Meldung(this, QString::fromStdString(ErzeugungsFehlerText(m_letzterLauf)), QStringLiteral("Fehler"));
        return;
    }
    const VorschauErgebnis e =
        VorschauSchreiben(m_zustand.ausgabeOrdner(), m_letzterLauf.dateien, m_zustand.m_ordner / "vorschau");
    const QString erste = QString::fromStdString(e.ersteSeite.string());
    if (e.ersteSeite.empty()) {
        Meldung(
            this,
            QStringLiteral("Die Vorschau konnte nicht in den Ordner vorschau geschrieben werden") +
                (e.grund.empty() ? QString() : QStringLiteral(" (%1)").arg(QString::fromStdString(e.grund))) +
                QStringLiteral("."),
            QStringLiteral("Fehler"));
        return;
    }
    QStringList fehlend;
    for (const std::string& name : e.fehlendeDateien)
        fehlend << zuUnicode(name);
    if (!fehlend.isEmpty()) {
        // A long list would not fit on the screen; the first names say enough.
        constexpr int kGezeigt = 5;
        const int mehr = static_cast<int>(fehlend.size()) - kGezeigt;
        if (mehr > 0) {
            fehlend = fehlend.mid(0, kGezeigt);
            fehlend << QStringLiteral("und %1 weitere").arg(mehr);
        }
        Meldung(this,
                QStringLiteral("Die Vorschau ist unvollständig; nicht geschrieben: ") +
                    fehlend.join(QStringLiteral(", ")),
                QStringLiteral("Fehler"));
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(erste)))
        Meldung(this,
                QStringLiteral("Es konnte kein Browser gestartet werden. Die Vorschau liegt in\n") + erste,
                QStringLiteral("Fehler"));
}

} // namespace velmaro
