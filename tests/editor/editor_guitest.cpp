// The article editor in the real main window: buttons clicked, lines clicked, text typed, files
// read and written in a temporary folder.
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/kamerabild.h"
#include "../support/tempdir.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace velmaro;
using namespace velmaro::test;
using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {
// Built on first use: DateTime::fromParts must not run during static initialisation.
QList<Artikel> drei() {
    return {{DateTime::fromParts(2003, 5, 3, 10, 0), "Sommerfest", "Am Samstag feiern wir."},
            {DateTime::fromParts(2003, 5, 2, 9, 30), "Neue Preise", "Ab Juni gelten\r\nneue Preise."},
            {DateTime::fromParts(2003, 5, 1, 8, 0), "Umzug", "Wir ziehen um."}};
}
const QString kHeute = QDate::currentDate().toString(u"dd.MM.yyyy"_s);
const QString kDrei = u"03.05.2003 : Sommerfest | 02.05.2003 : Neue Preise | 01.05.2003 : Umzug"_s;

// Date, headline and body as the fields show them.
QString felder(const VelmaroDlg& d) {
    return d.m_editor.m_ctrlDatum->date().toString(u"dd.MM.yyyy"_s) + u" | "_s +
           d.m_editor.m_editUeberschrift->text() + u" | "_s + d.m_editor.m_editTextinhalt->toPlainText();
}

// Typed after what the edit holds.
void tippen(QWidget* w, const QString& text) {
    QTest::keyClick(w, Qt::Key_End, Qt::ControlModifier);
    for (char32_t cp : text.toUcs4())
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString::fromUcs4(&cp, 1), Qt::NoModifier);
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
} // namespace

class EditorTest : public QObject {
    Q_OBJECT
private slots:
    // "Neuer Artikel" while an article is shown: blanks taken; a line picked while a new article is
    // typed asks first, keeping it the default.
    void newArticle() {
        Lauf l;
        VelmaroDlg& dlg = *l.dlg;
        zeileKlicken(dlg, 1);
        klicken(dlg.m_editor.m_btnNeu);
        // Delete and edit would act on the article no longer shown.
        QCOMPARE(stand(dlg), u"ls...Htd | "_s + kDrei);
        tippen(dlg.m_editor.m_editTextinhalt, u" "_s);
        tippen(dlg.m_editor.m_editUeberschrift, u" "_s);
        l.boxen.naechsteAntwort(Antwort::WeiterSchreiben);
        zeileKlicken(dlg, 0);
        QCOMPARE(l.boxen.nachrichten().value(0).standard, Antwort::WeiterSchreiben);
        QCOMPARE(stand(dlg), u"ls...Htd | "_s + kDrei);
        klicken(dlg.m_editor.m_btnSpeichern);
        const QString blank = kHeute + u" :   | "_s + kDrei;
        QCOMPARE(stand(dlg), u"L..n.... | "_s + blank);

        // The menu command leaves an article under edit alone.
        zeileKlicken(dlg, 1);
        klicken(dlg.m_editor.m_btnBearbeiten);
        dlg.m_befehlNeuerArtikel->trigger();
        QCOMPARE(stand(dlg),
                 u".s...Htd | "_s + kHeute + u" :   | 02.05.2003 : Neue Preise | 01.05.2003 : Umzug"_s);
        QCOMPARE(felder(dlg), u"03.05.2003 | Sommerfest | Am Samstag feiern wir."_s);
    }

    // "Bild einfügen…": the picture stored by its content, its tag at the cursor with the alt text
    // asked; Ctrl+Shift+I only while the fields are open. Headlines may repeat: the row picked
    // is the article shown and edited.
    void pictureInserted() {
        QList<Artikel> zwei = {{DateTime::fromParts(2003, 5, 3), "Gleich", "oben"},
                               {DateTime::fromParts(2003, 5, 2), "Gleich", "unten"}};
        Lauf l(zwei);
        VelmaroDlg& dlg = *l.dlg;
        const std::string bytes = KameraJpeg(40, 30);
        writeFile(l.dir / "foto.JPG", bytes);
        QTest::keyClick(&dlg, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        zeileKlicken(dlg, 1, true);
        // The picture's path, then the alt text, each typed into its dialog's edit field.
        QStringList eingaben = {QString::fromStdString((l.dir / "foto.JPG").string()),
                                u"Fest \"im\" <Park> & mehr"_s};
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                d && !eingaben.isEmpty()) {
                d->findChild<QLineEdit*>()->setText(eingaben.takeFirst());
                d->accept();
            }
        });
        timer.start(20);
        QTest::keyClick(dlg.m_editor.m_editTextinhalt, Qt::Key_Home, Qt::ControlModifier);
        klicken(dlg.m_editor.m_btnBild);
        QVERIFY(eingaben.isEmpty());
        const auto bilder = Ordnerinhalt(l.dir / "data/bilder");
        QCOMPARE(bilder.size(), 1u);
        const QString name = QString::fromStdString(bilder.begin()->first);
        QCOMPARE(bilder.begin()->second, bytes);
        zwei[1].textinhalt = (u"<img src=\"bilder/"_s + name +
                              u"\" alt=\"Fest &quot;im&quot; &lt;Park&gt; &amp; mehr\">unten"_s)
                                 .toStdString();
        klicken(dlg.m_editor.m_btnSpeichern);
        QCOMPARE(liste(dlg), zwei);
    }

    void endingAsksOnlyAfterChanges() {
        Lauf l;
        // A new article typed asks; saving then keeps it, but only once headline and body are there.
        klicken(l.dlg->m_editor.m_btnNeu);
        tippen(l.dlg->m_editor.m_editUeberschrift, u"Entwurf"_s);
        l.boxen.naechsteAntwort(Antwort::Speichern);
        QTest::keyClick(l.dlg->m_editor.m_editUeberschrift, Qt::Key_Escape);
        QCOMPARE(l.boxen.texte().size(), 2);
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
        l.boxen.naechsteAntwort(Antwort::Verwerfen);
        QTest::keyClick(l.dlg->m_btnUpdate, Qt::Key_Escape);
        QCOMPARE(l.boxen.nachrichten().size(), 2);
        QVERIFY(!l.dlg->isVisible());
        QVERIFY(l.oeffnen());
        QCOMPARE(liste(*l.dlg), gespeichert);

        // Saving ends as "Beenden" does: the article under edit goes back with the fields' values,
        // moved by its date, keeping its time of day. The emoji is stored as a reference, umlauts
        // and the euro sign as single bytes.
        zeileKlicken(*l.dlg, 1);
        klicken(l.dlg->m_editor.m_btnBearbeiten);
        l.dlg->m_editor.m_ctrlDatum->setDate(QDate(2003, 4, 1));
        tippen(l.dlg->m_editor.m_editUeberschrift, u" 😀"_s);
        // Ctrl+Return at the end, which the body edit takes as a new line.
        QTest::keyClick(l.dlg->m_editor.m_editTextinhalt, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(l.dlg->m_editor.m_editTextinhalt, Qt::Key_Return, Qt::ControlModifier);
        tippen(l.dlg->m_editor.m_editTextinhalt, u"für 5 € 😀"_s);
        l.boxen.naechsteAntwort(Antwort::Speichern);
        QVERIFY(l.dlg->close());
        QVERIFY(l.oeffnen());
        QList<Artikel> a = gespeichert;
        a.move(1, 3);
        a[3] = {DateTime::fromParts(2003, 4, 1, 10, 0), "Sommerfest &#128512;",
                "Am Samstag feiern wir.\r\nf\xFCr 5 \x80 &#128512;"};
        QCOMPARE(liste(*l.dlg), a);
        zeileKlicken(*l.dlg, 3);

        // Still open at "Beenden" with a field emptied, an article goes back as it was opened.
        l.boxen.leeren();
        klicken(l.dlg->m_editor.m_btnBearbeiten);
        l.dlg->m_editor.m_ctrlDatum->setDate(QDate(2004, 1, 1));
        l.dlg->m_editor.m_editUeberschrift->clear();
        klicken(l.dlg->m_btnBeenden);
        QVERIFY(l.oeffnen());
        QCOMPARE(liste(*l.dlg), a);
        // Viewing, and "Neuer Artikel" with nothing typed, change nothing: Esc asks no more.
        zeileKlicken(*l.dlg, 0);
        klicken(l.dlg->m_editor.m_btnNeu);
        QTest::keyClick(l.dlg->m_btnUpdate, Qt::Key_Escape);
        QCOMPARE(l.boxen.nachrichten().size(), 1);
        QVERIFY(!l.dlg->isVisible());
    }
};

QTEST_MAIN(EditorTest)
#include "editor_guitest.moc"
