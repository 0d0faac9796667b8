// The article editor in the real main window: buttons clicked, lines clicked, text typed, files
// read and written in a temporary folder.
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/kamerabild.h"
#include "../support/tempdir.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace velmaro;
using namespace velmaro::test;
using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {
const QString kLeereUeberschrift = u"Das Eingabefeld Überschrift darf nicht leer sein"_s;
const QString kLeererText = u"Das Eingabefeld Textinhalt darf nicht leer sein"_s;

// Built on first use: DateTime::fromParts must not run during static initialisation.
QList<Artikel> drei() {
    return {{DateTime::fromParts(2003, 5, 3, 10, 0), "Sommerfest", "Am Samstag feiern wir."},
            {DateTime::fromParts(2003, 5, 2, 9, 30), "Neue Preise", "Ab Juni gelten\r\nneue Preise."},
            {DateTime::fromParts(2003, 5, 1, 8, 0), "Umzug", "Wir ziehen um."}};
}
const QString kHeute = QDate::currentDate().toString(u"dd.MM.yyyy"_s);
const QString kDrei = u"03.05.2003 : Sommerfest | 02.05.2003 : Neue Preise | 01.05.2003 : Umzug"_s;
const QString kSommerfest = u"03.05.2003 | Sommerfest | Am Samstag feiern wir."_s;

// Date, headline and body as the fields show them.
QString felder(const VelmaroDlg& d) {
    return d.m_editor.m_ctrlDatum->date().toString(u"dd.MM.yyyy"_s) + u" | "_s +
           d.m_editor.m_editUeberschrift->text() + u" | "_s + d.m_editor.m_editTextinhalt->toPlainText();
}

// Typed after what the edit holds; "\n" as Ctrl+Return, which the body edit takes as a new line.
void tippen(QWidget* w, const QString& text) {
    QTest::keyClick(w, Qt::Key_End, Qt::ControlModifier);
    for (char32_t cp : text.toUcs4()) {
        if (cp == U'\n')
            QTest::keyClick(w, Qt::Key_Return, Qt::ControlModifier);
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString::fromUcs4(&cp, 1), Qt::NoModifier);
    }
}

// A folder with the given articles, shown in a window; oeffnen() shows a new one, active so that
// focus can be checked.
struct Lauf {
    TempDir dir;
    MeldungsRekorder boxen;
    std::unique_ptr<VelmaroDlg> dlg;

    explicit Lauf(const QList<Artikel>& artikel = drei()) {
        ordnerAnlegen(dir.path(), artikel);
        QVERIFY(oeffnen());
    }
    bool oeffnen() {
        dlg = std::make_unique<VelmaroDlg>(dir.path());
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
        return QTest::qWaitForWindowActive(dlg.get());
    }
};
// Answers the next modal dialogs in turn, each by its function; counts those it answered.
struct Dialoge {
    QList<std::function<void(QWidget*)>> antworten;
    int beantwortet = 0;
    QTimer timer;
    Dialoge() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget* d = QApplication::activeModalWidget();
            if (d && d->isVisible() && !antworten.isEmpty()) {
                antworten.takeFirst()(d);
                ++beantwortet;
            }
        });
        timer.start(20);
    }
};
} // namespace

class EditorTest : public QObject {
    Q_OBJECT
private slots:
    // "Neuer Artikel" while an article is shown: empty fields refused, blanks taken, lines picked.
    // Return presses "Neuer Artikel" only, and nothing while it is off; each action leaves the focus
    // in the headline while the fields are open, in the list otherwise.
    void newArticle() {
        Lauf l;
        VelmaroDlg& dlg = *l.dlg;
        QSignalSpy auswahl(dlg.m_editor.m_listeArtikel, &ArtikelListe::auswahlGeaendert);
        zeileKlicken(dlg, 1);
        QTest::keyClick(dlg.m_editor.m_listeArtikel, Qt::Key_Return);
        // Delete and edit would act on the article no longer shown.
        QCOMPARE(stand(dlg), u"ls...Htd 1 | "_s + kDrei);
        QCOMPARE(felder(dlg), kHeute + u" |  | "_s);
        klicken(dlg.m_editor.m_btnSpeichern);
        QCOMPARE(l.boxen.texte(), (QStringList{kLeereUeberschrift, kLeererText}));
        QCOMPARE(stand(dlg, true), u"ls...hTd 1"_s);
        tippen(dlg.m_editor.m_editTextinhalt, u" "_s);
        klicken(dlg.m_editor.m_btnSpeichern);
        QCOMPARE(l.boxen.texte().mid(2), QStringList{kLeereUeberschrift});
        QCOMPARE(stand(dlg, true), u"ls...Htd 1"_s);

        // A line picked while a new article is typed asks; keeping it leaves everything as it was.
        tippen(dlg.m_editor.m_editUeberschrift, u" "_s);
        l.boxen.leeren();
        l.boxen.naechsteAntwort(Antwort::WeiterSchreiben);
        zeileKlicken(dlg, 0);
        QCOMPARE(l.boxen.nachrichten().value(0).antworten,
                 (QList<Antwort>{Antwort::ArtikelVerwerfen, Antwort::WeiterSchreiben}));
        QCOMPARE(l.boxen.nachrichten().value(0).standard, Antwort::WeiterSchreiben);
        QCOMPARE(stand(dlg), u"ls...Htd 1 | "_s + kDrei);
        klicken(dlg.m_editor.m_btnSpeichern);
        const QString blank = kHeute + u" :   | "_s + kDrei;
        QCOMPARE(stand(dlg), u"L..n.... 3 | "_s + blank);
        zeileKlicken(dlg, 0);

        // In new mode a click on the line still selected brings its article back, and with it the
        // way to the next new one.
        dlg.m_befehlNeuerArtikel->trigger();
        zeileKlicken(dlg, 0);
        QCOMPARE(stand(dlg), u"L.xne... 4 | "_s + blank);
        QTest::keyClick(dlg.m_editor.m_listeArtikel, Qt::Key_Down);
        QCOMPARE(felder(dlg), kSommerfest);
        // The menu command leaves an article under edit alone; refilling the list is no selection.
        klicken(dlg.m_editor.m_btnBearbeiten);
        QTest::keyClick(dlg.m_editor.m_editUeberschrift, Qt::Key_Return);
        dlg.m_befehlNeuerArtikel->trigger();
        QCOMPARE(stand(dlg),
                 u".s...Htd 4 | "_s + kHeute + u" :   | 02.05.2003 : Neue Preise | 01.05.2003 : Umzug"_s);
        QCOMPARE(felder(dlg), kSommerfest);
        klicken(dlg.m_editor.m_btnSpeichern);
        QCOMPARE(auswahl.count(), 5);

        // Discarding a typed article shows the line picked.
        dlg.m_befehlNeuerArtikel->trigger();
        tippen(dlg.m_editor.m_editUeberschrift, u"Weg"_s);
        l.boxen.naechsteAntwort(Antwort::ArtikelVerwerfen);
        zeileKlicken(dlg, 3);
        QCOMPARE(stand(dlg), u"L.xne... 4 | "_s + blank);
        QCOMPARE(felder(dlg), u"01.05.2003 | Umzug | Wir ziehen um."_s);
    }

    // "Bild einfügen…" and Ctrl+Shift+I: the picture stored by its content, its tag at the cursor
    // with the alt text asked (the headline by default); only while the fields are open. Headlines
    // may repeat: the row picked is the article shown and edited.
    void pictureInserted() {
        QList<Artikel> zwei = {{DateTime::fromParts(2003, 5, 3), "Gleich", "oben"},
                               {DateTime::fromParts(2003, 5, 2), "Gleich", "unten"}};
        Lauf l(zwei);
        VelmaroDlg& dlg = *l.dlg;
        const std::string bytes = KameraJpeg(40, 30);
        writeFile(l.dir / "foto.JPG", bytes);
        Dialoge dialoge;
        QTest::keyClick(&dlg, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        zeileKlicken(dlg, 1, true);
        QCOMPARE(stand(dlg, true), u".s...Htd 4"_s);
        // Each dialog gets its text in its edit field, what it held before noted; no text cancels it.
        QStringList vorgaben;
        const auto eingeben = [&](const QString& text) {
            return [&, text](QWidget* w) {
                auto* feld = w->findChild<QLineEdit*>();
                vorgaben << feld->text();
                feld->setText(text);
                text.isEmpty() ? static_cast<QDialog*>(w)->reject() : static_cast<QDialog*>(w)->accept();
            };
        };
        const QString foto = QString::fromStdString((l.dir / "foto.JPG").string());
        dialoge.antworten = {eingeben(foto), eingeben(u"Fest \"im\" <Park> & mehr"_s), eingeben(foto),
                             eingeben({})};
        QTest::keyClick(dlg.m_editor.m_editTextinhalt, Qt::Key_Home, Qt::ControlModifier);
        klicken(dlg.m_editor.m_btnBild);
        QCOMPARE(dialoge.beantwortet, 2);
        QCOMPARE(vorgaben.value(1), u"Gleich"_s);
        const auto bilder = Ordnerinhalt(l.dir / "data/bilder");
        QCOMPARE(bilder.size(), 1u);
        const QString name = QString::fromStdString(bilder.begin()->first);
        QVERIFY(name.endsWith(u".jpg"_s));
        QCOMPARE(bilder.begin()->second, bytes);
        zwei[1].textinhalt = (u"<img src=\"bilder/"_s + name +
                              u"\" alt=\"Fest &quot;im&quot; &lt;Park&gt; &amp; mehr\">unten"_s)
                                 .toStdString();
        // Cancelled at the alt text: nothing inserted.
        QApplication::setActiveWindow(&dlg);
        QTest::keyClick(dlg.m_editor.m_editTextinhalt, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dialoge.beantwortet, 4);
        klicken(dlg.m_editor.m_btnSpeichern);
        QVERIFY(!dlg.m_editor.m_btnBild->isEnabled());
        QCOMPARE(liste(dlg), zwei);
    }

    void endingAsksOnlyAfterChanges() {
        Lauf l;
        // A new article typed asks; saving then keeps it, but only once headline and body are there.
        klicken(l.dlg->m_editor.m_btnNeu);
        tippen(l.dlg->m_editor.m_editUeberschrift, u"Entwurf"_s);
        l.boxen.naechsteAntwort(Antwort::Speichern);
        QTest::keyClick(l.dlg->m_editor.m_editUeberschrift, Qt::Key_Escape);
        QCOMPARE(l.boxen.texte().value(1), kLeererText);
        QVERIFY(l.dlg->isVisible());
        tippen(l.dlg->m_editor.m_editTextinhalt, u"Text"_s);
        l.boxen.naechsteAntwort(Antwort::Speichern);
        QTest::keyClick(l.dlg->m_editor.m_editTextinhalt, Qt::Key_Escape);
        QVERIFY(!l.dlg->isVisible());
        QVERIFY(l.oeffnen());
        const QList<Artikel> gespeichert = liste(*l.dlg);
        QCOMPARE(gespeichert.value(0).ueberschrift, std::string("Entwurf"));
        l.boxen.leeren();

        // After a deletion (of a line picked after "Neuer Artikel", which turns the button back on)
        // the close box asks: back to the window; then Esc, ending without saving.
        klicken(l.dlg->m_editor.m_btnNeu);
        zeileKlicken(*l.dlg, 2);
        klicken(l.dlg->m_editor.m_btnLoeschen);
        l.boxen.naechsteAntwort(Antwort::Zurueck);
        QVERIFY(!l.dlg->close());
        QCOMPARE(l.boxen.nachrichten().value(0).antworten,
                 (QList<Antwort>{Antwort::Speichern, Antwort::Verwerfen, Antwort::Zurueck}));
        l.boxen.naechsteAntwort(Antwort::Verwerfen);
        QTest::keyClick(l.dlg->m_btnUpdate, Qt::Key_Escape);
        QCOMPARE(l.boxen.nachrichten().size(), 2);
        QVERIFY(!l.dlg->isVisible());
        QVERIFY(l.oeffnen());
        QCOMPARE(liste(*l.dlg), gespeichert);

        // Saving ends as "Beenden" does: the article under edit goes back with the fields' values.
        zeileKlicken(*l.dlg, 1);
        klicken(l.dlg->m_editor.m_btnBearbeiten);
        l.dlg->m_editor.m_ctrlDatum->setDate(QDate(2003, 4, 1));
        tippen(l.dlg->m_editor.m_editTextinhalt, u" Alle sind eingeladen."_s);
        l.boxen.naechsteAntwort(Antwort::Speichern);
        QVERIFY(l.dlg->close());
        QVERIFY(l.oeffnen());
        QList<Artikel> a = gespeichert;
        a.move(1, 3);
        a[3] = {DateTime::fromParts(2003, 4, 1, 10, 0), "Sommerfest",
                "Am Samstag feiern wir. Alle sind eingeladen."};
        QCOMPARE(liste(*l.dlg), a);
    }

    // Three articles: one opened, its date and text changed, another deleted, "Beenden", started again.
    void userScenario() {
        Lauf l;
        VelmaroDlg& dlg = *l.dlg;
        // Opened by double click; a later date moves the article up and keeps its time of day.
        zeileKlicken(dlg, 1, true);
        dlg.m_editor.m_ctrlDatum->setDate(QDate(2003, 5, 20));
        tippen(dlg.m_editor.m_editUeberschrift, u" 😀"_s);
        tippen(dlg.m_editor.m_editTextinhalt, u"\nfür 5 € 😀"_s);
        klicken(dlg.m_editor.m_btnSpeichern);
        QCOMPARE(stand(dlg),
                 u"L..n.... 3 | 20.05.2003 : Neue Preise 😀 | 03.05.2003 : Sommerfest | 01.05.2003 : Umzug"_s);
        zeileKlicken(dlg, 2);
        klicken(dlg.m_editor.m_btnLoeschen);
        QCOMPARE(stand(dlg, true), u"L..n.... 5"_s);
        // Still open at "Beenden" with a field emptied, an article goes back as it was opened.
        zeileKlicken(dlg, 1);
        klicken(dlg.m_editor.m_btnBearbeiten);
        dlg.m_editor.m_ctrlDatum->setDate(QDate(2004, 1, 1));
        dlg.m_editor.m_editUeberschrift->clear();
        // "Beenden" asks like Esc; saving puts it back.
        klicken(dlg.m_btnBeenden);

        // The emoji is stored as a reference, umlauts and the euro sign as single bytes.
        QVERIFY(l.oeffnen());
        const Artikel preise{DateTime::fromParts(2003, 5, 20, 9, 30), "Neue Preise &#128512;",
                             "Ab Juni gelten\r\nneue Preise.\r\nf\xFCr 5 \x80 &#128512;"};
        QCOMPARE(liste(*l.dlg), (QList<Artikel>{preise, drei()[0]}));
        zeileKlicken(*l.dlg, 0);
        QCOMPARE(felder(*l.dlg), u"20.05.2003 | Neue Preise 😀 | Ab Juni gelten\nneue Preise.\nfür 5 € 😀"_s);
        // Viewing, and "Neuer Artikel" with nothing typed, change nothing: Esc asks no more.
        klicken(l.dlg->m_editor.m_btnNeu);
        QTest::keyClick(l.dlg->m_btnUpdate, Qt::Key_Escape);
        QCOMPARE(l.boxen.nachrichten().size(), 1);
        QVERIFY(!l.dlg->isVisible());
    }
};

QTEST_MAIN(EditorTest)
#include "editor_guitest.moc"
