#pragma once
// The article editor: its controls' behaviour (new, view, edit, delete and save articles) and the
// article under edit. The main window builds the controls and binds their commands to it.

#include "store/ereignis.h"
#include "store/wiederherstellung.h"
#include "store/zustand.h"

#include <QListWidget>
#include <QObject>
#include <QPlainTextEdit>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace velmaro {

// The body edit: Enter goes to the dialog's default button; Ctrl+Enter types a line break.
class TextinhaltEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The article selection list: auswahlGeaendert reports a selection the user makes with mouse or
// keyboard, a click on the line already selected included, as a list box does; a refill by the
// program reports nothing.
class ArtikelListe : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

signals:
    void auswahlGeaendert();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int gewaehlteZeile() const;
};

class ArtikelEditor : public QObject {
    Q_OBJECT
public:
    // Edits the article list of zustand; messages are owned by fenster; ereignisanzeige shows an
    // event on the event line.
    ArtikelEditor(VelmaroZustand& zustand, QWidget* fenster,
                  std::function<void(Ereignisart)> ereignisanzeige);

    // Field exchange: true takes the controls into the article under edit, false shows it.
    void DatenAustausch(bool speichern);
    void ListeFuellen();

    // Command handlers.
    void OnSelchangeListe();
    void OnDblclkListe();
    void OnNeuerArtikel();
    void OnArtikelSpeichern();
    void OnArtikelLoeschen();
    void OnArtikelBearbeiten();
    // "Bild einfügen…" and Ctrl+Shift+I: a picture chosen in a file dialog is copied into
    // data/bilder/ and its <img> tag, with the alt text asked, inserted at the body's cursor.
    void OnBildEinfuegen();

    void FelderLeeren();
    void FelderFreigeben(bool an);
    // The article at pos, which becomes the one that "löschen" and "bearbeiten" act on.
    void ArtikelAnzeigen(Artikelliste::Position pos);
    // An article is open for editing, or text is typed for a new one.
    bool ArtikelInArbeit() const;
    // The headline while the fields are open, the list otherwise.
    void FokusSetzen();
    // Puts the article open for editing back into the list, so that "Beenden" writes it.
    void BearbeitetenArtikelSichern();
    // The fields as a draft, when an article is typed or open for editing.
    std::optional<Aenderung> Entwurf();
    // Opens a draft of an earlier session: for editing when its article is still in the list,
    // otherwise as a new article.
    void EntwurfOeffnen(const Aenderung& entwurf);

    // Every change to the list, as it happens (the window keeps it for recovery).
    std::function<void(const Aenderung&)> m_aenderungMelden;
    // Controls, created by the main window.
    QLineEdit* m_editUeberschrift = nullptr;
    TextinhaltEdit* m_editTextinhalt = nullptr;
    QPushButton* m_btnSpeichern = nullptr;
    QPushButton* m_btnNeu = nullptr;
    QDateEdit* m_ctrlDatum = nullptr;
    ArtikelListe* m_listeArtikel = nullptr;
    QPushButton* m_btnLoeschen = nullptr;
    QPushButton* m_btnBearbeiten = nullptr;
    // Enabled with the fields.
    QPushButton* m_btnBild = nullptr;

    // The article under edit.
    std::string m_ueberschrift;
    std::string m_textinhalt;
    DateTime m_datum;
    // The article taken out of the list by "Artikel bearbeiten", as it was then; empty when none
    // is open for editing.
    std::optional<Artikel> m_bearbeiteterArtikel;
    // The article of the selected row: headlines may repeat, so the row, not the headline, says
    // which one is shown.
    Artikelliste::Position m_gezeigt;

private:
    void Ereignisanzeige(Ereignisart art) { m_ereignisanzeige(art); }
    // The editor's article into the list, the fields emptied and locked.
    void ArtikelAblegen();
    // A new article with text in its fields.
    bool NeuerArtikelGetippt() const;
    void Melden(Aenderung::Art art, const Artikel& alt, const Artikel& neu);
    // The fields opened for an article of the list, taken out of it.
    void BearbeitungOeffnen();

    VelmaroZustand& m_zustand;
    QWidget* m_fenster;
    std::function<void(Ereignisart)> m_ereignisanzeige;
    // What the edits showed at the last field exchange, so that an untouched field gives back
    // the stored bytes unchanged.
    QString m_gezeigteUeberschrift;
    QString m_gezeigterTextinhalt;
};

} // namespace velmaro
