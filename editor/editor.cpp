// The article editor: new, view, edit, delete and save articles.
#include "editor/editor.h"

#include "platform/unicode.h"
#include "store/bildablage.h"
#include "widgets/meldung.h"

#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <iterator>
#include <utility>

namespace velmaro {

ArtikelEditor::ArtikelEditor(VelmaroZustand& zustand, QWidget* fenster,
                             std::function<void(Ereignisart)> ereignisanzeige)
    : m_datum(DateTime::now())
    , m_zustand(zustand)
    , m_fenster(fenster)
    , m_ereignisanzeige(std::move(ereignisanzeige)) {
}

void TextinhaltEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        insertPlainText(QStringLiteral("\n"));
        return;
    }
    if (enter) {
        // Like a multi-line edit without "want return": the dialog presses its default button.
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

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

void ArtikelEditor::DatenAustausch(bool speichern) {
    if (speichern) {
        const QString ueberschrift = m_editUeberschrift->text();
        if (ueberschrift != m_gezeigteUeberschrift)
            m_ueberschrift = zuCp1252Html(ueberschrift);
        QString textinhalt = m_editTextinhalt->toPlainText();
        if (textinhalt != m_gezeigterTextinhalt)
            m_textinhalt = zuCp1252Html(textinhalt.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
        const QDate d = m_ctrlDatum->date();
        CivilTime alt;
        if (!toCivil(m_datum.value, alt) || alt.year != d.year() || alt.month != d.month() ||
            alt.day != d.day())
            m_datum = withDate(m_datum, d.year(), d.month(), d.day());
    } else {
        m_gezeigteUeberschrift = zuUnicodeHtml(m_ueberschrift);
        m_editUeberschrift->setText(m_gezeigteUeberschrift);
        m_gezeigterTextinhalt = zuUnicodeHtml(m_textinhalt);
        m_gezeigterTextinhalt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        m_editTextinhalt->setPlainText(m_gezeigterTextinhalt);
        CivilTime c;
        if (toCivil(m_datum.value, c))
            m_ctrlDatum->setDate(QDate(c.year, c.month, c.day));
    }
    // Re-reading the controls now gives what was just exchanged.
    m_gezeigteUeberschrift = m_editUeberschrift->text();
    m_gezeigterTextinhalt = m_editTextinhalt->toPlainText();
}

void ArtikelEditor::ListeFuellen() {
    m_listeArtikel->clear();
    int index = 0;
    for (const std::string& zeile : m_zustand.ListenZeilen()) {
        // The line keeps its article's place in the list; its text is only for the eye.
        auto* eintrag = new QListWidgetItem(zuUnicodeHtml(zeile), m_listeArtikel);
        eintrag->setData(Qt::UserRole, index++);
    }
}

void ArtikelEditor::FelderLeeren() {
    m_ueberschrift.clear();
    m_textinhalt.clear();
    m_datum = DateTime::now();
    DatenAustausch(false);
}

void ArtikelEditor::FelderFreigeben(bool an) {
    m_editUeberschrift->setEnabled(an);
    m_editTextinhalt->setEnabled(an);
    m_ctrlDatum->setEnabled(an);
    m_btnBild->setEnabled(an);
}

void ArtikelEditor::ArtikelAnzeigen(Artikelliste::Position pos) {
    const Artikel& a = m_zustand.m_artikelListe.at(pos);
    m_ueberschrift = a.ueberschrift;
    m_textinhalt = a.textinhalt;
    m_datum = a.datum;
    m_gezeigt = pos;
    DatenAustausch(false);
}

bool ArtikelEditor::NeuerArtikelGetippt() const {
    return !m_bearbeiteterArtikel && m_btnSpeichern->isEnabled() &&
           (!m_editUeberschrift->text().isEmpty() || !m_editTextinhalt->document()->isEmpty());
}

void ArtikelEditor::OnSelchangeListe() {
    const QList<QListWidgetItem*> gewaehlt = m_listeArtikel->selectedItems();
    if (gewaehlt.isEmpty())
        return;
    if (NeuerArtikelGetippt()) {
        const Antwort antwort =
            Frage(m_fenster,
                  QStringLiteral("Der neue Artikel ist noch nicht gespeichert.\n"
                                 "Wenn Sie einen anderen Artikel anzeigen, geht er verloren."),
                  QStringLiteral("Neuer Artikel"), {Antwort::ArtikelVerwerfen, Antwort::WeiterSchreiben},
                  Antwort::WeiterSchreiben);
        if (antwort != Antwort::ArtikelVerwerfen) {
            m_listeArtikel->clearSelection();
            FokusSetzen();
            return;
        }
    }
    Artikelliste::Position pos = m_zustand.m_artikelListe.head();
    for (int i = gewaehlt.first()->data(Qt::UserRole).toInt(); pos && i > 0; --i)
        m_zustand.m_artikelListe.next(pos);
    if (!pos)
        return;
    ArtikelAnzeigen(pos);
    m_btnBearbeiten->setEnabled(true);
    m_btnLoeschen->setEnabled(true);
    m_btnSpeichern->setEnabled(false);
    // A new article left for this one must not leave the way to the next one closed.
    m_btnNeu->setEnabled(true);
    FelderFreigeben(false);
    Ereignisanzeige(Ereignisart::ArtikelEditiert);
}

void ArtikelEditor::OnDblclkListe() {
    OnSelchangeListe();
    OnArtikelBearbeiten();
}

void ArtikelEditor::OnNeuerArtikel() {
    // The button is disabled while an article is open for editing; the menu command must not
    // empty its fields either.
    if (m_bearbeiteterArtikel)
        return;
    FelderLeeren();
    m_btnSpeichern->setEnabled(true);
    m_btnNeu->setEnabled(false);
    // They would act on the article shown before, which the fields no longer show.
    m_btnLoeschen->setEnabled(false);
    m_btnBearbeiten->setEnabled(false);
    m_gezeigt = {};
    Ereignisanzeige(Ereignisart::NeuerArtikel);
    FelderFreigeben(true);
    FokusSetzen();
}

void ArtikelEditor::Melden(Aenderung::Art art, const Artikel& alt, const Artikel& neu) {
    if (!m_aenderungMelden)
        return;
    Aenderung a;
    a.art = art;
    a.alt = alt;
    a.neu = neu;
    m_aenderungMelden(a);
}

void ArtikelEditor::ArtikelAblegen() {
    const Artikel neu{m_datum, m_ueberschrift, m_textinhalt};
    m_zustand.ArtikelEinfuegen(neu);
    if (m_bearbeiteterArtikel)
        Melden(Aenderung::Art::Geaendert, *m_bearbeiteterArtikel, neu);
    else
        Melden(Aenderung::Art::Neu, {}, neu);
    m_bearbeiteterArtikel.reset();
    m_gezeigt = {};
    ListeFuellen();
    FelderLeeren();
    FelderFreigeben(false);
    m_btnSpeichern->setEnabled(false);
    m_listeArtikel->setEnabled(true);
    m_btnNeu->setEnabled(true);
    Ereignisanzeige(Ereignisart::ArtikelGespeichert);
    FokusSetzen();
}

void ArtikelEditor::OnArtikelSpeichern() {
    DatenAustausch(true);
    if (!m_ueberschrift.empty() && !m_textinhalt.empty()) {
        ArtikelAblegen();
        return;
    }
    if (m_ueberschrift.empty()) {
        Meldung(m_fenster, QStringLiteral("Das Eingabefeld Überschrift darf nicht leer sein"),
                QStringLiteral("Fehler"));
        m_editUeberschrift->setFocus();
    }
    if (m_textinhalt.empty()) {
        Meldung(m_fenster, QStringLiteral("Das Eingabefeld Textinhalt darf nicht leer sein"),
                QStringLiteral("Fehler"));
        m_editTextinhalt->setFocus();
    }
}

void ArtikelEditor::OnArtikelLoeschen() {
    if (!m_gezeigt)
        return;
    const Artikel alt = m_zustand.m_artikelListe.at(m_gezeigt);
    m_zustand.m_artikelListe.removeAt(std::exchange(m_gezeigt, {}));
    Melden(Aenderung::Art::Geloescht, alt, {});
    FelderLeeren();
    ListeFuellen();
    Ereignisanzeige(Ereignisart::ArtikelGeloescht);
    m_btnLoeschen->setEnabled(false);
    m_btnBearbeiten->setEnabled(false);
    m_btnNeu->setEnabled(true);
    FelderFreigeben(false);
    FokusSetzen();
}

void ArtikelEditor::OnArtikelBearbeiten() {
    if (!m_gezeigt)
        return;
    BearbeitungOeffnen();
}

void ArtikelEditor::BearbeitungOeffnen() {
    // Kept as it is now, for "Beenden" should the edit not be saved.
    m_bearbeiteterArtikel = m_zustand.m_artikelListe.at(m_gezeigt);
    m_zustand.m_artikelListe.removeAt(std::exchange(m_gezeigt, {}));
    ListeFuellen();
    FelderFreigeben(true);
    m_btnSpeichern->setEnabled(true);
    m_btnLoeschen->setEnabled(false);
    m_listeArtikel->setEnabled(false);
    m_btnBearbeiten->setEnabled(false);
    m_btnNeu->setEnabled(false);
    FokusSetzen();
}

void ArtikelEditor::OnBildEinfuegen() {
    if (!m_btnBild->isEnabled())
        return;
    // Qt's own dialogs, so that they look alike on every desktop and tests can answer them.
    QFileDialog dateiwahl(m_fenster, QStringLiteral("Bild einfügen"));
    dateiwahl.setOption(QFileDialog::DontUseNativeDialog);
    dateiwahl.setFileMode(QFileDialog::ExistingFile);
    dateiwahl.setNameFilter(
        QStringLiteral("Bilder (*.jpg *.jpeg *.png *.gif *.webp *.JPG *.JPEG *.PNG *.GIF *.WEBP)"));
    if (dateiwahl.exec() != QDialog::Accepted || dateiwahl.selectedFiles().isEmpty())
        return;
    const QString datei = dateiwahl.selectedFiles().first();

    QInputDialog frage(m_fenster);
    frage.setOption(QInputDialog::UsePlainTextEditForTextInput, false);
    frage.setWindowTitle(QStringLiteral("Bild einfügen"));
    frage.setLabelText(QStringLiteral("Beschreibung des Bildes (für Leser, die es nicht sehen) : "));
    frage.setTextValue(m_editUeberschrift->text());
    if (frage.exec() != QDialog::Accepted)
        return;

    std::string fehler;
    const auto name = BildAblegen(QFile::encodeName(datei).toStdString(),
                                  m_zustand.m_ordner / "data" / kBilderOrdner, fehler);
    if (!name) {
        Meldung(m_fenster,
                QStringLiteral("Das Bild %1 konnte nicht übernommen werden (%2).")
                    .arg(datei, QString::fromStdString(fehler)),
                QStringLiteral("Fehler"));
        return;
    }
    QString alt = frage.textValue();
    alt.replace(QLatin1Char('&'), QStringLiteral("&amp;"))
        .replace(QLatin1Char('"'), QStringLiteral("&quot;"))
        .replace(QLatin1Char('<'), QStringLiteral("&lt;"))
        .replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    m_editTextinhalt->insertPlainText(QStringLiteral("<img src=\"%1/%2\" alt=\"%3\">")
                                          .arg(QString::fromUtf8(kBilderOrdner.data(), kBilderOrdner.size()),
                                               QString::fromStdString(*name), alt));
    m_editTextinhalt->setFocus();
}

bool ArtikelEditor::ArtikelInArbeit() const {
    return m_bearbeiteterArtikel || NeuerArtikelGetippt();
}

std::optional<Aenderung> ArtikelEditor::Entwurf() {
    if (!ArtikelInArbeit())
        return std::nullopt;
    DatenAustausch(true);
    Aenderung a;
    a.art = Aenderung::Art::Entwurf;
    a.neu = {m_datum, m_ueberschrift, m_textinhalt};
    a.mitAlt = m_bearbeiteterArtikel.has_value();
    if (a.mitAlt)
        a.alt = *m_bearbeiteterArtikel;
    return a;
}

void ArtikelEditor::EntwurfOeffnen(const Aenderung& entwurf) {
    m_gezeigt = {};
    if (entwurf.mitAlt) {
        Artikelliste::Position pos = m_zustand.m_artikelListe.head();
        while (pos && !m_gezeigt) {
            const Artikelliste::Position hier = pos;
            if (m_zustand.m_artikelListe.next(pos) == entwurf.alt)
                m_gezeigt = hier;
        }
    }
    if (m_gezeigt)
        BearbeitungOeffnen();
    else
        OnNeuerArtikel();
    m_ueberschrift = entwurf.neu.ueberschrift;
    m_textinhalt = entwurf.neu.textinhalt;
    m_datum = entwurf.neu.datum;
    DatenAustausch(false);
}

void ArtikelEditor::FokusSetzen() {
    // A disabled control that had the focus hands it on to whatever comes next, a button perhaps.
    if (m_editUeberschrift->isEnabled())
        m_editUeberschrift->setFocus();
    else
        m_listeArtikel->setFocus();
}

void ArtikelEditor::BearbeitetenArtikelSichern() {
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
