// The article editor in the real main window: buttons clicked, lines clicked, text typed, files
// read and written in a temporary folder.
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace velmaro;
using namespace velmaro::test;

namespace {
const QString kEreignis2 =
    QStringLiteral("Sie können jetzt alle Eingaben für einen neuen Artikel eingeben:\n -Datum "
                   "auswählen, -Überschrift eingeben -Textinhalt eingeben -Artikel speichern");
const QString kEreignis5 = QStringLiteral("Artikel wurde gespeichert!");
const QString kEreignis6 =
    QStringLiteral("Artikel wurde editiert und kann jetzt gelöscht oder geändert werden!");
const QString kEreignis7 = QStringLiteral("Artikel wurde gelöscht!");
const QString kLeereUeberschrift = QStringLiteral("Das Eingabefeld Überschrift darf nicht leer sein");
const QString kLeererText = QStringLiteral("Das Eingabefeld Textinhalt darf nicht leer sein");

// The editor's modes as the enabled controls show them.
const QString kBlaettern = QStringLiteral("Liste Neu");
const QString kAnsehen = QStringLiteral("Liste Löschen Neu Bearbeiten");
const QString kNeu = QStringLiteral("Liste Speichern Felder");
const QString kBearbeiten = QStringLiteral("Speichern Felder");

// Built on first use: DateTime::fromParts must not run during static initialisation.
Artikel sommerfest() {
    return {DateTime::fromParts(2003, 5, 3, 10, 0), "Sommerfest", "Am Samstag feiern wir."};
}
Artikel preise() {
    return {DateTime::fromParts(2003, 5, 2, 9, 30), "Neue Preise", "Ab Juni gelten\r\nneue Preise."};
}
Artikel umzug() {
    return {DateTime::fromParts(2003, 5, 1, 8, 0), "Umzug", "Wir ziehen um."};
}

void ablegen(const TempDir& dir, const std::vector<Artikel>& artikel) {
    VelmaroZustand z;
    z.m_ordner = dir.path();
    z.m_marker = {"ARTIKEL", "ENDE"};
    z.m_artikelProSeite = "5";
    for (const Artikel& a : artikel)
        z.m_artikelListe.addTail(a);
    QVERIFY(z.DateienSchreiben().empty());
}

std::vector<Artikel> gespeichert(const TempDir& dir) {
    VelmaroZustand z;
    z.m_ordner = dir.path();
    z.m_marker = {"ARTIKEL", "ENDE"};
    z.DatenDateiLesen();
    return {z.m_artikelListe.begin(), z.m_artikelListe.end()};
}

QString beschreibung(const Artikel& a) {
    CivilTime c;
    toCivil(a.datum.value, c);
    return QString::asprintf("%02d.%02d.%04d %02d:%02d ", c.day, c.month, c.year, c.hour, c.minute) +
           QString::fromLatin1(a.ueberschrift) + QStringLiteral(" / ") + QString::fromLatin1(a.textinhalt);
}

QStringList beschreibungen(const std::vector<Artikel>& artikel) {
    QStringList b;
    for (const Artikel& a : artikel)
        b << beschreibung(a);
    return b;
}

QStringList liste(const VelmaroDlg& dlg) {
    return beschreibungen({dlg.m_artikelListe.begin(), dlg.m_artikelListe.end()});
}

QStringList zeilen(const VelmaroDlg& dlg) {
    QStringList z;
    for (int i = 0; i < dlg.m_listeArtikel->count(); ++i)
        z << dlg.m_listeArtikel->item(i)->text();
    return z;
}

QString heute() {
    return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
}

QString modus(const VelmaroDlg& dlg) {
    QStringList an;
    const std::pair<QWidget*, const char*> controls[] = {{dlg.m_listeArtikel, "Liste"},
                                                         {dlg.m_btnSpeichern, "Speichern"},
                                                         {dlg.m_btnLoeschen, "Löschen"},
                                                         {dlg.m_btnNeu, "Neu"},
                                                         {dlg.m_btnBearbeiten, "Bearbeiten"}};
    for (const auto& [w, name] : controls)
        if (w->isEnabled())
            an << QString::fromUtf8(name);
    const int felder = dlg.m_editUeberschrift->isEnabled() + dlg.m_editTextinhalt->isEnabled() +
                       dlg.m_ctrlDatum->isEnabled();
    if (felder == 3)
        an << QStringLiteral("Felder");
    else if (felder != 0)
        an << QStringLiteral("Felder teilweise");
    return an.join(QLatin1Char(' '));
}

// Headline, body and date as the controls show them.
QString felder(const VelmaroDlg& dlg) {
    return dlg.m_ctrlDatum->date().toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(" | ") +
           dlg.m_editUeberschrift->text() + QStringLiteral(" | ") + dlg.m_editTextinhalt->toPlainText();
}

void tippen(QWidget* w, const QString& text) {
    for (char32_t cp : text.toUcs4()) {
        if (cp == U'\n')
            QTest::keyClick(w, Qt::Key_Return, Qt::ControlModifier);
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString::fromUcs4(&cp, 1), Qt::NoModifier);
    }
}

void leeren(QWidget* w) {
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Delete);
}

// Typed after what the body edit already holds.
void anhaengen(QWidget* w, const QString& text) {
    QTest::keyClick(w, Qt::Key_End, Qt::ControlModifier);
    tippen(w, text);
}

void klicken(QPushButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
}

void zeileKlicken(VelmaroDlg& dlg, int zeile) {
    const QRect r = dlg.m_listeArtikel->visualItemRect(dlg.m_listeArtikel->item(zeile));
    QTest::mouseClick(dlg.m_listeArtikel->viewport(), Qt::LeftButton, {}, r.center());
}

// A window on its own folder, shown and active so that focus can be checked.
struct Lauf {
    TempDir dir;
    MeldungsRekorder boxen;
    std::unique_ptr<VelmaroDlg> dlg;

    bool starten(const std::vector<Artikel>& artikel) {
        ablegen(dir, artikel);
        return oeffnen();
    }
    bool oeffnen() {
        dlg = std::make_unique<VelmaroDlg>(dir.path());
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
        return QTest::qWaitForWindowActive(dlg.get());
    }
};
} // namespace

class EditorTest : public QObject {
    Q_OBJECT
private slots:
    void bothFieldsEmpty() {
        Lauf l;
        QVERIFY(l.starten({sommerfest(), preise(), umzug()}));
        VelmaroDlg& dlg = *l.dlg;
        klicken(dlg.m_btnNeu);
        QCOMPARE(modus(dlg), kNeu);
        QCOMPARE(felder(dlg), heute() + QStringLiteral(" |  | "));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis2);
        QCOMPARE(QApplication::focusWidget(), dlg.m_editUeberschrift);

        klicken(dlg.m_btnSpeichern);
        QCOMPARE(l.boxen.texte(), (QStringList{kLeereUeberschrift, kLeererText}));
        QCOMPARE(l.boxen.nachrichten()[0].titel, QStringLiteral("Fehler"));
        QCOMPARE(l.boxen.nachrichten()[1].titel, QStringLiteral("Fehler"));
        QCOMPARE(QApplication::focusWidget(), dlg.m_editTextinhalt);
        QCOMPARE(modus(dlg), kNeu);
        QCOMPARE(dlg.m_ereignis->text(), kEreignis2);
        QCOMPARE(liste(dlg).size(), 3);

        // One field empty: only its message, and the focus goes there.
        l.boxen.leeren();
        tippen(dlg.m_editUeberschrift, QStringLiteral("Nur Überschrift"));
        klicken(dlg.m_btnSpeichern);
        QCOMPARE(l.boxen.texte(), QStringList{kLeererText});
        QCOMPARE(QApplication::focusWidget(), dlg.m_editTextinhalt);
        QCOMPARE(dlg.m_ueberschrift, std::string("Nur \xDC"
                                                 "berschrift"));
        l.boxen.leeren();
        leeren(dlg.m_editUeberschrift);
        tippen(dlg.m_editTextinhalt, QStringLiteral("Nur Text"));
        klicken(dlg.m_btnSpeichern);
        QCOMPARE(l.boxen.texte(), QStringList{kLeereUeberschrift});
        QCOMPARE(QApplication::focusWidget(), dlg.m_editUeberschrift);
        QCOMPARE(modus(dlg), kNeu);
        QCOMPARE(zeilen(dlg).size(), 3);
    }

    void blanksAreAccepted() {
        Lauf l;
        QVERIFY(l.starten({sommerfest()}));
        VelmaroDlg& dlg = *l.dlg;
        klicken(dlg.m_btnNeu);
        tippen(dlg.m_editUeberschrift, QStringLiteral(" "));
        tippen(dlg.m_editTextinhalt, QStringLiteral(" "));
        klicken(dlg.m_btnSpeichern);
        QVERIFY(l.boxen.nachrichten().isEmpty());
        QCOMPARE(zeilen(dlg),
                 (QStringList{heute() + QStringLiteral(" :  "), QStringLiteral("03.05.2003 : Sommerfest")}));
        QCOMPARE(dlg.m_artikelListe.begin()->ueberschrift, std::string(" "));
        QCOMPARE(dlg.m_artikelListe.begin()->textinhalt, std::string(" "));
        QCOMPARE(modus(dlg), kBlaettern);
        QCOMPARE(felder(dlg), heute() + QStringLiteral(" |  | "));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis5);

        zeileKlicken(dlg, 0);
        QCOMPARE(modus(dlg), kAnsehen);
        QCOMPARE(felder(dlg), heute() + QStringLiteral(" |   |  "));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis6);
    }

    void laterDateMovesTheArticle() {
        Lauf l;
        QVERIFY(l.starten({sommerfest(), preise(), umzug()}));
        VelmaroDlg& dlg = *l.dlg;
        zeileKlicken(dlg, 2);
        QCOMPARE(modus(dlg), kAnsehen);
        QCOMPARE(felder(dlg), QStringLiteral("01.05.2003 | Umzug | Wir ziehen um."));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis6);

        klicken(dlg.m_btnBearbeiten);
        QCOMPARE(modus(dlg), kBearbeiten);
        QCOMPARE(zeilen(dlg), (QStringList{QStringLiteral("03.05.2003 : Sommerfest"),
                                           QStringLiteral("02.05.2003 : Neue Preise")}));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis6);
        QCOMPARE(beschreibung(*dlg.m_bearbeiteterArtikel), beschreibung(umzug()));

        dlg.m_ctrlDatum->setDate(QDate(2003, 5, 10));
        klicken(dlg.m_btnSpeichern);
        QCOMPARE(zeilen(dlg),
                 (QStringList{QStringLiteral("10.05.2003 : Umzug"), QStringLiteral("03.05.2003 : Sommerfest"),
                              QStringLiteral("02.05.2003 : Neue Preise")}));
        // Only the day changed; the time of day orders the articles of one day.
        QCOMPARE(liste(dlg).first(), QStringLiteral("10.05.2003 08:00 Umzug / Wir ziehen um."));
        QCOMPARE(modus(dlg), kBlaettern);
        QCOMPARE(dlg.m_ereignis->text(), kEreignis5);
        QVERIFY(!dlg.m_bearbeiteterArtikel);
        QVERIFY(l.boxen.nachrichten().isEmpty());
    }

    void savedUnchangedGoesAfterEqualDates() {
        const DateTime mittag = DateTime::fromParts(2003, 5, 5, 12, 0);
        const Artikel erster{mittag, "Erster", "Zeile 1\r\nZeile 2 \xE4\xF6\xFC \x80"};
        const Artikel zweiter{mittag, "Zweiter", "b"};
        const Artikel dritter{mittag, "Dritter", "c"};
        Lauf l;
        QVERIFY(l.starten({erster, zweiter, dritter, umzug()}));
        VelmaroDlg& dlg = *l.dlg;
        zeileKlicken(dlg, 0);
        QCOMPARE(dlg.m_editTextinhalt->toPlainText(), QStringLiteral("Zeile 1\nZeile 2 äöü €"));
        klicken(dlg.m_btnBearbeiten);
        klicken(dlg.m_btnSpeichern);
        QCOMPARE(liste(dlg), beschreibungen({zweiter, dritter, erster, umzug()}));
        QCOMPARE(std::next(dlg.m_artikelListe.begin(), 2)->textinhalt, erster.textinhalt);
        QCOMPARE(zeilen(dlg)[2], QStringLiteral("05.05.2003 : Erster"));
        QCOMPARE(modus(dlg), kBlaettern);
        QCOMPARE(dlg.m_ereignis->text(), kEreignis5);
    }

    void sameHeadlineActsOnTheOneNearerTheHead() {
        const Artikel eins{DateTime::fromParts(2003, 5, 3), "Gleich", "eins"};
        const Artikel anders{DateTime::fromParts(2003, 5, 2), "Anders", "x"};
        const Artikel zwei{DateTime::fromParts(2003, 5, 1), "Gleich", "zwei"};
        Lauf l;
        QVERIFY(l.starten({eins, anders, zwei}));
        VelmaroDlg& dlg = *l.dlg;
        zeileKlicken(dlg, 2);
        QCOMPARE(felder(dlg), QStringLiteral("03.05.2003 | Gleich | eins"));
        QCOMPARE(modus(dlg), kAnsehen);

        klicken(dlg.m_btnBearbeiten);
        QCOMPARE(zeilen(dlg),
                 (QStringList{QStringLiteral("02.05.2003 : Anders"), QStringLiteral("01.05.2003 : Gleich")}));
        anhaengen(dlg.m_editTextinhalt, QStringLiteral(" neu"));
        klicken(dlg.m_btnSpeichern);
        const Artikel einsNeu{eins.datum, "Gleich", "eins neu"};
        QCOMPARE(liste(dlg), beschreibungen({einsNeu, anders, zwei}));

        zeileKlicken(dlg, 2);
        QCOMPARE(felder(dlg), QStringLiteral("03.05.2003 | Gleich | eins neu"));
        klicken(dlg.m_btnLoeschen);
        QCOMPARE(liste(dlg), beschreibungen({anders, zwei}));
        QCOMPARE(zeilen(dlg),
                 (QStringList{QStringLiteral("02.05.2003 : Anders"), QStringLiteral("01.05.2003 : Gleich")}));
        QCOMPARE(modus(dlg), kBlaettern);
        QCOMPARE(felder(dlg), heute() + QStringLiteral(" |  | "));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis7);
    }

    void newArticleWhileViewing() {
        Lauf l;
        QVERIFY(l.starten({sommerfest(), preise(), umzug()}));
        VelmaroDlg& dlg = *l.dlg;
        zeileKlicken(dlg, 1);
        klicken(dlg.m_btnNeu);
        QCOMPARE(modus(dlg), QStringLiteral("Liste Speichern Löschen Bearbeiten Felder"));
        QCOMPARE(felder(dlg), heute() + QStringLiteral(" |  | "));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis2);
        QCOMPARE(QApplication::focusWidget(), dlg.m_editUeberschrift);

        // Both find no article with the empty headline.
        tippen(dlg.m_editUeberschrift, QStringLiteral("Entwurf"));
        klicken(dlg.m_btnLoeschen);
        klicken(dlg.m_btnBearbeiten);
        QCOMPARE(liste(dlg), beschreibungen({sommerfest(), preise(), umzug()}));
        QCOMPARE(zeilen(dlg).size(), 3);
        QCOMPARE(modus(dlg), QStringLiteral("Liste Speichern Löschen Bearbeiten Felder"));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis2);
        QCOMPARE(dlg.m_editUeberschrift->text(), QStringLiteral("Entwurf"));

        // The line is still selected; clicking it again abandons the new article.
        QCOMPARE(dlg.m_listeArtikel->currentRow(), 1);
        zeileKlicken(dlg, 1);
        QCOMPARE(felder(dlg), QStringLiteral("02.05.2003 | Neue Preise | Ab Juni gelten\nneue Preise."));
        QCOMPARE(modus(dlg), QStringLiteral("Liste Löschen Bearbeiten"));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis6);

        // A new article saved after one was shown leaves delete and edit on, still without effect.
        klicken(dlg.m_btnBearbeiten);
        klicken(dlg.m_btnSpeichern);
        QCOMPARE(modus(dlg), kBlaettern);
        zeileKlicken(dlg, 0);
        klicken(dlg.m_btnNeu);
        tippen(dlg.m_editUeberschrift, QStringLiteral("Neu"));
        tippen(dlg.m_editTextinhalt, QStringLiteral("Text"));
        klicken(dlg.m_btnSpeichern);
        QCOMPARE(modus(dlg), kAnsehen);
        QCOMPARE(felder(dlg), heute() + QStringLiteral(" |  | "));
        klicken(dlg.m_btnLoeschen);
        klicken(dlg.m_btnBearbeiten);
        QCOMPARE(zeilen(dlg).size(), 4);
        QCOMPARE(zeilen(dlg).first(), heute() + QStringLiteral(" : Neu"));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis5);
        QCOMPARE(modus(dlg), kAnsehen);
        QVERIFY(l.boxen.nachrichten().isEmpty());
    }

    void lineSelectedInNewMode() {
        Lauf l;
        QVERIFY(l.starten({sommerfest(), preise(), umzug()}));
        VelmaroDlg& dlg = *l.dlg;
        QSignalSpy auswahl(dlg.m_listeArtikel, &ArtikelListe::auswahlGeaendert);
        auto* befehl130 = dlg.findChild<QAction*>(QStringLiteral("130"));
        QVERIFY(befehl130);
        befehl130->trigger();
        QCOMPARE(modus(dlg), kNeu);
        QCOMPARE(dlg.m_ereignis->text(), kEreignis2);

        zeileKlicken(dlg, 1);
        QCOMPARE(auswahl.count(), 1);
        QCOMPARE(felder(dlg), QStringLiteral("02.05.2003 | Neue Preise | Ab Juni gelten\nneue Preise."));
        QCOMPARE(modus(dlg), QStringLiteral("Liste Löschen Bearbeiten"));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis6);

        // The keyboard selects as the mouse does.
        QTest::keyClick(dlg.m_listeArtikel, Qt::Key_Down);
        QCOMPARE(auswahl.count(), 2);
        QCOMPARE(felder(dlg), QStringLiteral("01.05.2003 | Umzug | Wir ziehen um."));

        klicken(dlg.m_btnBearbeiten);
        QCOMPARE(modus(dlg), kBearbeiten);
        // The menu command does not throw away the article under edit.
        befehl130->trigger();
        QCOMPARE(felder(dlg), QStringLiteral("01.05.2003 | Umzug | Wir ziehen um."));
        QCOMPARE(modus(dlg), kBearbeiten);
        klicken(dlg.m_btnSpeichern);
        QCOMPARE(modus(dlg), kBlaettern);
        QCOMPARE(liste(dlg), beschreibungen({sommerfest(), preise(), umzug()}));
        // Refilling the list is no selection.
        QCOMPARE(auswahl.count(), 2);
    }

    void doubleClickOpensForEditing() {
        Lauf l;
        QVERIFY(l.starten({sommerfest(), preise(), umzug()}));
        VelmaroDlg& dlg = *l.dlg;
        // As the window system delivers it: a click, then the double click.
        const QRect r = dlg.m_listeArtikel->visualItemRect(dlg.m_listeArtikel->item(1));
        QTest::mouseClick(dlg.m_listeArtikel->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(dlg.m_listeArtikel->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(modus(dlg), kBearbeiten);
        QCOMPARE(felder(dlg), QStringLiteral("02.05.2003 | Neue Preise | Ab Juni gelten\nneue Preise."));
        QCOMPARE(zeilen(dlg), (QStringList{QStringLiteral("03.05.2003 : Sommerfest"),
                                           QStringLiteral("01.05.2003 : Umzug")}));
        QCOMPARE(liste(dlg), beschreibungen({sommerfest(), umzug()}));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis6);
        QCOMPARE(beschreibung(*dlg.m_bearbeiteterArtikel), beschreibung(preise()));

        klicken(dlg.m_btnSpeichern);
        QCOMPARE(liste(dlg), beschreibungen({sommerfest(), preise(), umzug()}));
        QCOMPARE(dlg.m_artikelListe.begin()->textinhalt, sommerfest().textinhalt);
        QCOMPARE(std::next(dlg.m_artikelListe.begin())->textinhalt, preise().textinhalt);
    }

    void articleUnderEditIsKeptAtBeenden() {
        // Filled fields: the article goes back with what they hold.
        {
            Lauf l;
            QVERIFY(l.starten({sommerfest(), preise(), umzug()}));
            VelmaroDlg& dlg = *l.dlg;
            zeileKlicken(dlg, 0);
            klicken(dlg.m_btnBearbeiten);
            dlg.m_ctrlDatum->setDate(QDate(2003, 4, 1));
            anhaengen(dlg.m_editTextinhalt, QStringLiteral(" Alle sind eingeladen."));
            klicken(dlg.m_btnBeenden);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            const Artikel geaendert{DateTime::fromParts(2003, 4, 1, 10, 0), "Sommerfest",
                                    "Am Samstag feiern wir. Alle sind eingeladen."};
            QCOMPARE(beschreibungen(gespeichert(l.dir)), beschreibungen({preise(), umzug(), geaendert}));
        }
        // A field emptied: the article goes back as it was opened.
        {
            Lauf l;
            QVERIFY(l.starten({sommerfest(), preise(), umzug()}));
            VelmaroDlg& dlg = *l.dlg;
            zeileKlicken(dlg, 1);
            klicken(dlg.m_btnBearbeiten);
            dlg.m_ctrlDatum->setDate(QDate(2004, 1, 1));
            leeren(dlg.m_editUeberschrift);
            klicken(dlg.m_btnBeenden);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QVERIFY(l.boxen.nachrichten().isEmpty());
            const std::vector<Artikel> datei = gespeichert(l.dir);
            QCOMPARE(beschreibungen(datei), beschreibungen({sommerfest(), preise(), umzug()}));
            QCOMPARE(datei[1].textinhalt, preise().textinhalt);
        }
    }

    void closingWithoutChangesEndsAtOnce() {
        Lauf l;
        QVERIFY(l.starten({sommerfest(), preise()}));
        const std::string vorher = readFile(l.dir / "data/daten.bit");
        VelmaroDlg& dlg = *l.dlg;
        // Viewing and a new article never saved change nothing "Beenden" would write.
        zeileKlicken(dlg, 1);
        klicken(dlg.m_btnNeu);
        tippen(dlg.m_editUeberschrift, QStringLiteral("Entwurf"));
        QTest::keyClick(dlg.m_btnUpdate, Qt::Key_Escape);
        QVERIFY(l.boxen.nachrichten().isEmpty());
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(readFile(l.dir / "data/daten.bit"), vorher);

        QVERIFY(l.oeffnen());
        QVERIFY(l.dlg->close());
        QVERIFY(l.boxen.nachrichten().isEmpty());
        QCOMPARE(l.dlg->result(), int(QDialog::Rejected));
    }

    void closingAfterChangesAsksFirst() {
        Lauf l;
        QVERIFY(l.starten({sommerfest(), preise(), umzug()}));
        const std::string vorher = readFile(l.dir / "data/daten.bit");
        VelmaroDlg* dlg = l.dlg.get();
        zeileKlicken(*dlg, 2);
        klicken(dlg->m_btnLoeschen);

        // Back to the window: nothing ends, nothing is written.
        l.boxen.naechsteAntwort(Antwort::Zurueck);
        QTest::keyClick(dlg->m_btnUpdate, Qt::Key_Escape);
        QCOMPARE(l.boxen.nachrichten().size(), 1);
        const Nachricht& frage = l.boxen.nachrichten()[0];
        QCOMPARE(frage.titel, QStringLiteral("Beenden"));
        QCOMPARE(frage.antworten, (QList<Antwort>{Antwort::Speichern, Antwort::Verwerfen, Antwort::Zurueck}));
        QVERIFY(frage.text.contains(QStringLiteral("nicht gespeichert")));
        QVERIFY(dlg->isVisible());
        QCOMPARE(zeilen(*dlg).size(), 2);
        QCOMPARE(readFile(l.dir / "data/daten.bit"), vorher);

        // The close box, ending without saving.
        l.boxen.naechsteAntwort(Antwort::Verwerfen);
        QVERIFY(dlg->close());
        QCOMPARE(l.boxen.nachrichten().size(), 2);
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
        QCOMPARE(readFile(l.dir / "data/daten.bit"), vorher);

        // Saving: the "Beenden" path, the article under edit included.
        l.boxen.leeren();
        QVERIFY(l.oeffnen());
        dlg = l.dlg.get();
        zeileKlicken(*dlg, 2);
        klicken(dlg->m_btnLoeschen);
        zeileKlicken(*dlg, 0);
        klicken(dlg->m_btnBearbeiten);
        l.boxen.naechsteAntwort(Antwort::Speichern);
        QVERIFY(dlg->close());
        QCOMPARE(l.boxen.nachrichten().size(), 1);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(beschreibungen(gespeichert(l.dir)), beschreibungen({sommerfest(), preise()}));

        // An article open for editing is itself a change.
        l.boxen.leeren();
        QVERIFY(l.oeffnen());
        dlg = l.dlg.get();
        zeileKlicken(*dlg, 0);
        klicken(dlg->m_btnBearbeiten);
        l.boxen.naechsteAntwort(Antwort::Zurueck);
        QTest::keyClick(dlg->m_editUeberschrift, Qt::Key_Escape);
        QCOMPARE(l.boxen.nachrichten().size(), 1);
        QVERIFY(dlg->isVisible());
        QCOMPARE(modus(*dlg), kBearbeiten);
    }

    void characterOutsideWindows1252() {
        const Artikel herz{DateTime::fromParts(2003, 5, 4, 7, 0), "Herz &#10084;", "&#10084; &#65; &amp;"};
        Lauf l;
        QVERIFY(l.starten({herz, umzug()}));
        VelmaroDlg& dlg = *l.dlg;
        QCOMPARE(zeilen(dlg).first(), QStringLiteral("04.05.2003 : Herz ❤"));

        klicken(dlg.m_btnNeu);
        tippen(dlg.m_editUeberschrift, QStringLiteral("Grüße 😀"));
        tippen(dlg.m_editTextinhalt, QStringLiteral("Hallo 😀 für 5 €"));
        klicken(dlg.m_btnSpeichern);
        const std::string ueberschrift = "Gr\xFC\xDF"
                                         "e &#128512;";
        const std::string text = "Hallo &#128512; f\xFCr 5 \x80";
        QCOMPARE(dlg.m_artikelListe.begin()->ueberschrift, ueberschrift);
        QCOMPARE(dlg.m_artikelListe.begin()->textinhalt, text);
        QCOMPARE(zeilen(dlg).first(), heute() + QStringLiteral(" : Grüße 😀"));

        zeileKlicken(dlg, 0);
        QCOMPARE(modus(dlg), kAnsehen);
        QCOMPARE(felder(dlg), heute() + QStringLiteral(" | Grüße 😀 | Hallo 😀 für 5 €"));
        QCOMPARE(dlg.m_ueberschrift, ueberschrift);
        klicken(dlg.m_btnBearbeiten);
        klicken(dlg.m_btnSpeichern);
        QCOMPARE(dlg.m_artikelListe.begin()->ueberschrift, ueberschrift);

        // A stored reference is found by its line and saved back with its bytes.
        zeileKlicken(dlg, 1);
        QCOMPARE(felder(dlg), QStringLiteral("04.05.2003 | Herz ❤ | ❤ &#65; &amp;"));
        klicken(dlg.m_btnBearbeiten);
        klicken(dlg.m_btnSpeichern);
        klicken(dlg.m_btnBeenden);
        const std::vector<Artikel> datei = gespeichert(l.dir);
        QCOMPARE(datei.size(), std::size_t(3));
        QCOMPARE(datei[0].ueberschrift, ueberschrift);
        QCOMPARE(datei[0].textinhalt, text);
        QVERIFY(datei[1] == herz);
    }

    void userScenario() {
        Lauf l;
        QVERIFY(l.starten({}));
        VelmaroDlg& dlg = *l.dlg;
        auto schreiben = [&](QDate datum, const QString& ueberschrift, const QString& text) {
            klicken(dlg.m_btnNeu);
            dlg.m_ctrlDatum->setDate(datum);
            tippen(dlg.m_editUeberschrift, ueberschrift);
            tippen(dlg.m_editTextinhalt, text);
            klicken(dlg.m_btnSpeichern);
        };
        schreiben(QDate(2024, 3, 10), QStringLiteral("Mitte"), QStringLiteral("Zweiter Artikel"));
        schreiben(QDate(2024, 3, 1), QStringLiteral("Alt"), QStringLiteral("Erster Artikel"));
        schreiben(QDate(2024, 3, 20), QStringLiteral("Neu"), QStringLiteral("Dritter\nArtikel"));
        QCOMPARE(zeilen(dlg),
                 (QStringList{QStringLiteral("20.03.2024 : Neu"), QStringLiteral("10.03.2024 : Mitte"),
                              QStringLiteral("01.03.2024 : Alt")}));

        zeileKlicken(dlg, 1);
        klicken(dlg.m_btnBearbeiten);
        dlg.m_ctrlDatum->setDate(QDate(2024, 4, 2));
        anhaengen(dlg.m_editTextinhalt, QStringLiteral("\ngeändert"));
        klicken(dlg.m_btnSpeichern);
        zeileKlicken(dlg, 2);
        klicken(dlg.m_btnLoeschen);
        QCOMPARE(zeilen(dlg),
                 (QStringList{QStringLiteral("02.04.2024 : Mitte"), QStringLiteral("20.03.2024 : Neu")}));
        klicken(dlg.m_btnBeenden);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));

        QVERIFY(l.oeffnen());
        VelmaroDlg& wieder = *l.dlg;
        QCOMPARE(zeilen(wieder),
                 (QStringList{QStringLiteral("02.04.2024 : Mitte"), QStringLiteral("20.03.2024 : Neu")}));
        QCOMPARE(wieder.m_artikelListe.begin()->textinhalt, std::string("Zweiter Artikel\r\nge\xE4ndert"));
        QCOMPARE(std::next(wieder.m_artikelListe.begin())->textinhalt, std::string("Dritter\r\nArtikel"));
        zeileKlicken(wieder, 0);
        QCOMPARE(felder(wieder), QStringLiteral("02.04.2024 | Mitte | Zweiter Artikel\ngeändert"));
        QVERIFY(l.boxen.nachrichten().isEmpty());
    }
};

QTEST_MAIN(EditorTest)
#include "editor_guitest.moc"
