// The article editor: new, view, edit, delete and save articles.
#include "ui/velmarodlg.h"

#include "platform/meldung.h"
#include "platform/unicode.h"

#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace velmaro {

namespace {
// A list line is the date as "%d.%m.%Y : ", then the headline.
constexpr int kDatumsBreite = 13;
} // namespace

int ArtikelListe::gewaehlteZeile() const {
    const QList<QListWidgetItem*> gewaehlt = selectedItems();
    return gewaehlt.isEmpty() ? -1 : row(gewaehlt.first());
}

void ArtikelListe::mousePressEvent(QMouseEvent* event) {
    const int vorher = gewaehlteZeile();
    QListWidget::mousePressEvent(event);
    const int nachher = gewaehlteZeile();
    // A click on the selected line counts too: after "Neuer Artikel" it brings the stored article
    // back into the fields.
    const QListWidgetItem* getroffen = itemAt(event->position().toPoint());
    const bool klickAufAuswahl = event->button() == Qt::LeftButton && getroffen && row(getroffen) == nachher;
    if (nachher != vorher || klickAufAuswahl)
        emit auswahlGeaendert();
}

void ArtikelListe::mouseMoveEvent(QMouseEvent* event) {
    const int vorher = gewaehlteZeile();
    QListWidget::mouseMoveEvent(event);
    if (gewaehlteZeile() != vorher)
        emit auswahlGeaendert();
}

void ArtikelListe::keyPressEvent(QKeyEvent* event) {
    const int vorher = gewaehlteZeile();
    QListWidget::keyPressEvent(event);
    if (gewaehlteZeile() != vorher)
        emit auswahlGeaendert();
}

void VelmaroDlg::FelderLeeren() {
    m_ueberschrift.clear();
    m_textinhalt.clear();
    m_datum = DateTime::now();
    DatenAustausch(false);
}

void VelmaroDlg::FelderFreigeben(bool an) {
    m_editUeberschrift->setEnabled(an);
    m_editTextinhalt->setEnabled(an);
    m_ctrlDatum->setEnabled(an);
}

bool VelmaroDlg::ArtikelAnzeigen(const std::string& ueberschrift) {
    m_position = m_artikelListe.head();
    while (m_position) {
        const Artikel& a = m_artikelListe.next(m_position);
        if (a.ueberschrift == ueberschrift) {
            m_ueberschrift = a.ueberschrift;
            m_textinhalt = a.textinhalt;
            m_datum = a.datum;
            DatenAustausch(false);
            return true;
        }
    }
    return false;
}

void VelmaroDlg::OnSelchangeListe() {
    const QList<QListWidgetItem*> gewaehlt = m_listeArtikel->selectedItems();
    if (gewaehlt.isEmpty())
        return;
    // The line shows references to characters outside Windows-1252 as the characters; turned
    // back they give the stored bytes.
    const std::string ueberschrift = zuCp1252Html(gewaehlt.first()->text().mid(kDatumsBreite));
    if (!ArtikelAnzeigen(ueberschrift))
        return;
    m_btnBearbeiten->setEnabled(true);
    m_btnLoeschen->setEnabled(true);
    m_btnSpeichern->setEnabled(false);
    FelderFreigeben(false);
    Ereignisanzeige(6);
}

void VelmaroDlg::OnDblclkListe() {
    OnSelchangeListe();
    OnArtikelBearbeiten();
}

void VelmaroDlg::OnNeuerArtikel() {
    // The button is disabled while an article is open for editing; the menu command must not
    // empty its fields either.
    if (m_bearbeiteterArtikel)
        return;
    FelderLeeren();
    m_btnSpeichern->setEnabled(true);
    m_btnNeu->setEnabled(false);
    Ereignisanzeige(2);
    FelderFreigeben(true);
    m_editUeberschrift->setFocus();
}

void VelmaroDlg::ArtikelAblegen() {
    ArtikelEinfuegen();
    m_bearbeiteterArtikel.reset();
    ListeFuellen();
    FelderLeeren();
    FelderFreigeben(false);
    m_btnSpeichern->setEnabled(false);
    m_listeArtikel->setEnabled(true);
    m_btnNeu->setEnabled(true);
    Ereignisanzeige(5);
}

void VelmaroDlg::OnArtikelSpeichern() {
    DatenAustausch(true);
    if (!m_ueberschrift.empty() && !m_textinhalt.empty()) {
        ArtikelAblegen();
        return;
    }
    if (m_ueberschrift.empty()) {
        Meldung(this, QStringLiteral("Das Eingabefeld Überschrift darf nicht leer sein"),
                QStringLiteral("Fehler"));
        m_editUeberschrift->setFocus();
    }
    if (m_textinhalt.empty()) {
        Meldung(this, QStringLiteral("Das Eingabefeld Textinhalt darf nicht leer sein"),
                QStringLiteral("Fehler"));
        m_editTextinhalt->setFocus();
    }
}

void VelmaroDlg::OnArtikelLoeschen() {
    if (!ArtikelEntfernen(m_ueberschrift))
        return;
    FelderLeeren();
    ListeFuellen();
    Ereignisanzeige(7);
    m_btnLoeschen->setEnabled(false);
    m_btnBearbeiten->setEnabled(false);
    m_btnNeu->setEnabled(true);
    FelderFreigeben(false);
}

void VelmaroDlg::OnArtikelBearbeiten() {
    // Kept as it is now, for "Beenden" should the edit not be saved.
    std::optional<Artikel> herausgenommen;
    m_position = m_artikelListe.head();
    while (m_position && !herausgenommen) {
        const Artikel& a = m_artikelListe.next(m_position);
        if (a.ueberschrift == m_ueberschrift)
            herausgenommen = a;
    }
    if (!ArtikelEntfernen(m_ueberschrift))
        return;
    m_bearbeiteterArtikel = herausgenommen;
    ListeFuellen();
    FelderFreigeben(true);
    m_btnSpeichern->setEnabled(true);
    m_btnLoeschen->setEnabled(false);
    m_listeArtikel->setEnabled(false);
    m_btnBearbeiten->setEnabled(false);
    m_btnNeu->setEnabled(false);
}

void VelmaroDlg::BearbeitetenArtikelSichern() {
    if (!m_bearbeiteterArtikel)
        return;
    DatenAustausch(true);
    if (m_ueberschrift.empty() || m_textinhalt.empty()) {
        // Half-cleared fields are no article; the one opened goes back as it was.
        m_datum = m_bearbeiteterArtikel->datum;
        m_ueberschrift = m_bearbeiteterArtikel->ueberschrift;
        m_textinhalt = m_bearbeiteterArtikel->textinhalt;
    }
    ArtikelAblegen();
}

} // namespace velmaro
