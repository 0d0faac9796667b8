// The session ends in every way a desktop ends it; the next start offers exactly what was not yet
// written. Each session runs in a child process of this program, so it can really be killed.
#include "app/sitzung.h"
#include "ui/velmarodlg.h"

#include "../support/beispiel.h"
#include "../support/guihelpers.h"
#include "../support/tempdir.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <iostream>

using namespace velmaro;
using namespace velmaro::test;
using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {

QList<Artikel> drei() {
    return {{DateTime::fromParts(2003, 5, 3, 10, 0), "Sommerfest", "Am Samstag feiern wir."},
            {DateTime::fromParts(2003, 5, 2, 9, 30), "Gleich", "erste"},
            {DateTime::fromParts(2003, 5, 1, 8, 0), "Gleich", "zweite"}};
}

// The child: edits, deletes and adds an article, picks 7 per page and types a draft, then runs
// the window as the program does. "commit" is told the desktop session is about to end before it
// is killed.
int kind(const fs::path& ordner, const QString& art) {
    MeldungsRekorder boxen;
    VelmaroDlg dlg(ordner);
    dlg.show();
    zeileKlicken(dlg, 0);
    klicken(dlg.m_editor.m_btnBearbeiten);
    QTest::keyClick(dlg.m_editor.m_editTextinhalt, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(dlg.m_editor.m_editTextinhalt, u"!"_s);
    klicken(dlg.m_editor.m_btnSpeichern);
    zeileKlicken(dlg, 2);
    klicken(dlg.m_editor.m_btnLoeschen);
    klicken(dlg.m_editor.m_btnNeu);
    QTest::keyClicks(dlg.m_editor.m_editUeberschrift, u"Neu"_s);
    QTest::keyClicks(dlg.m_editor.m_editTextinhalt, u"Text"_s);
    klicken(dlg.m_editor.m_btnSpeichern);
    dlg.m_comboProSeite->setCurrentIndex(2);
    dlg.OnSelchangeProSeite();
    klicken(dlg.m_editor.m_btnNeu);
    QTest::keyClicks(dlg.m_editor.m_editUeberschrift, u"Entwurf"_s);
    if (art == u"commit"_s)
        dlg.SitzungSichern();
    // Once the window runs, its signal handling is in place.
    QTimer::singleShot(0, [] { std::cout << "bereit" << std::endl; });
    return FensterAusfuehren(dlg);
}

struct Kind {
    QProcess p;
    Kind(const TempDir& dir, const QString& art) {
        p.start(QCoreApplication::applicationFilePath(),
                {u"--kind"_s, QString::fromStdString(dir.path()), art});
        while (p.state() != QProcess::NotRunning && !p.readAllStandardOutput().startsWith("bereit"))
            p.waitForReadyRead(200);
    }
    void beenden(int signal) {
        ::kill(static_cast<pid_t>(p.processId()), signal);
        p.waitForFinished(20000);
    }
};

} // namespace

class SitzungTest : public QObject {
    Q_OBJECT
private slots:
    // Only a KILL without the desktop's warning (commitData) costs the draft.
    void endings() {
        for (const int signal : {SIGTERM, SIGHUP, SIGINT})
            ende(signal, false, true);
        ende(SIGKILL, false, false);
        ende(SIGKILL, true, true);
    }

    // A dead holder's changes, set aside, leave the articles as they were.
    void changesSetAside() {
        TempDir dir;
        ordnerAnlegen(dir.path(), drei());
        Kind(dir, u"alles"_s).beenden(SIGKILL);
        MeldungsRekorder boxen;
        boxen.naechsteAntwort(Antwort::AenderungenBeiseite);
        VelmaroDlg danach(dir.path());
        QCOMPARE(boxen.nachrichten().size(), 1);
        QCOMPARE(liste(danach), drei());
        QVERIFY(!fs::exists(dir / "data/wiederherstellung.bit"));
        QVERIFY(fs::file_size(dir / "data/wiederherstellung.bit.bak") > 0);
    }

    // daten.bit replaced by another program while the window is open: asked, and both versions stay.
    void changedOnDisk() {
        geaendert(Antwort::Ja);   // ours replaces it
        geaendert(Antwort::Nein); // theirs stays
    }
    // A read-only data/: one message at start, changes kept in the user's state folder, one message
    // at "Beenden", and the next start offers them.
    void readOnlyFolder() {
        TempDir dir, zustand;
        ordnerAnlegen(dir.path(), drei());
        const std::string daten = (dir / "data").string();
        if (std::system(("mount --bind '" + daten + "' '" + daten +
                         "' 2>/dev/null && mount -o remount,bind,ro '" + daten + "' '" + daten + "'")
                            .c_str()) != 0)
            QSKIP("needs a read-only bind mount (root)");
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(zustand.path().string()));
        {
            MeldungsRekorder boxen;
            VelmaroDlg dlg(dir.path());
            dlg.show();
            QCOMPARE(boxen.nachrichten().size(), 1);
            QVERIFY(boxen.texte()[0].contains(QString::fromStdString(zustand.path().string())));
            dlg.m_comboProSeite->setCurrentIndex(4);
            dlg.OnSelchangeProSeite();
            dlg.OnBeenden();
            QCOMPARE(boxen.nachrichten().size(), 2);
            QVERIFY(dlg.isVisible());
        }
        QCOMPARE(std::system(("umount '" + daten + "'").c_str()), 0);
        MeldungsRekorder boxen;
        boxen.naechsteAntwort(Antwort::Uebernehmen);
        VelmaroDlg dlg(dir.path());
        QVERIFY(boxen.texte().value(0).contains(u"1 Änderung vom "_s));
        QCOMPARE(dlg.m_zustand.m_artikelProSeite, std::string("9"));
        QVERIFY(fs::exists(dir / "data/wiederherstellung.bit"));
        QVERIFY(fs::is_empty(zustand.path() / "velmaro"));
        qunsetenv("XDG_STATE_HOME");
    }

private:
    // The signal, whether commitData came before it, whether the draft is kept.
    void ende(int signal, bool commit, bool mitEntwurf) {
        TempDir dir;
        ordnerAnlegen(dir.path(), drei());
        const std::string daten = readFile(dir / "data/daten.bit");
        Kind kind(dir, commit ? u"commit"_s : u"alles"_s);
        // One writer per folder: a second window and the batch mode are refused while it lives; its
        // lock, once it is dead, is taken over without a word.
        const QString prozess = u"(Prozess "_s + QString::number(kind.p.processId()) + u")"_s;
        {
            MeldungsRekorder boxen;
            VelmaroDlg zweiter(dir.path());
            QVERIFY(zweiter.Abgelehnt() && zweiter.m_zustand.m_artikelListe.empty());
            QVERIFY(boxen.texte().size() == 1 && boxen.texte()[0].contains(prozess));
        }
        const auto [status, aus] =
            Ausfuehren("'" VELMARO_BINARY "' -C '" + dir.path().string() + "' --generate 2>&1");
        QVERIFY(status == 1 && QString::fromStdString(aus).contains(prozess));
        QVERIFY(!fs::exists(dir / "output"));
        kind.beenden(signal);
        QCOMPARE(readFile(dir / "data/daten.bit"), daten);

        MeldungsRekorder boxen;
        boxen.naechsteAntwort(Antwort::Uebernehmen);
        VelmaroDlg dlg(dir.path());
        QCOMPARE(boxen.nachrichten().size(), 1);
        QVERIFY2(boxen.texte()[0].contains(mitEntwurf ? u"5 Änderungen vom "_s : u"4 Änderungen vom "_s),
                 qPrintable(boxen.texte()[0]));
        const QList<Artikel> a = drei();
        QCOMPARE(liste(dlg).value(0).ueberschrift, std::string("Neu"));
        QCOMPARE(liste(dlg).mid(1),
                 (QList<Artikel>{{a[0].datum, a[0].ueberschrift, a[0].textinhalt + "!"}, a[1]}));
        QCOMPARE(dlg.m_zustand.m_artikelProSeite, std::string("7"));
        QCOMPARE(dlg.m_editor.m_editUeberschrift->text(), mitEntwurf ? u"Entwurf"_s : QString());

        // "Beenden" writes it all and ends the recovery file.
        if (!mitEntwurf) {
            dlg.OnBeenden();
            QVERIFY(!fs::exists(dir / "data/wiederherstellung.bit"));
            QCOMPARE(readFile(dir / "data/daten.bit"), dlg.m_zustand.DateiInhalt(Datendatei::Daten));
        }
    }

    void geaendert(Antwort antwort) {
        TempDir dir;
        ordnerAnlegen(dir.path(), drei());
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        zeileKlicken(dlg, 0);
        klicken(dlg.m_editor.m_btnLoeschen);
        const std::string& ihre = kBeispielDaten;
        writeFile(dir / "data/daten.bit", ihre);
        const std::string unsere = dlg.m_zustand.DateiInhalt(Datendatei::Daten);
        boxen.naechsteAntwort(antwort);
        dlg.OnBeenden();
        QVERIFY(boxen.texte().value(0).contains(u"von einem anderen Programm geändert"_s));
        QVERIFY(!dlg.isVisible());
        const bool ja = antwort == Antwort::Ja;
        QCOMPARE(readFile(dir / "data/daten.bit"), ja ? unsere : ihre);
        QCOMPARE(readFile(dir / (ja ? "data/daten.bit.bak" : "data/daten.bit.neu")), ja ? ihre : unsere);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--kind")
        return kind(argv[2], QString::fromLocal8Bit(argv[3]));
    SitzungTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "sitzung_guitest.moc"
