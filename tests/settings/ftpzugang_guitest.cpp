// The FTP access dialog, driven like a user drives it, and its values' way through "Beenden" into
// data/ftpconfig.bit and back at the next start.
#include "publish/upload.h"
#include "settings/ftpzugang.h"
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/sicherserver.h"
#include "../support/tempdir.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <array>

using namespace velmaro;
using namespace velmaro::test;

namespace {

// Name, address, user, password and the site's address as the main window holds them (Windows-1252).
using Werte = std::array<std::string, 5>;
const Werte kAlt = {"Meine Seite", "ftp://ftp.example.de", "m\xFCller", "Ge\xDFheim!", ""};
const Werte kNeu = {"Neu", "ftp://neu.example.de:2121", "j\xF6rg", "s\x80kret",
                    "https://neu.example.de/verein"};

// kNeu in every field. QTest types ASCII only; the rest goes in as an input method puts it.
void eintippen(FTPZugang& dlg) {
    for (QLineEdit* e :
         {dlg.m_editName, dlg.m_editFtpAdresse, dlg.m_editZugangsname, dlg.m_editPasswort, dlg.m_editWebsite})
        e->clear();
    QTest::keyClicks(dlg.m_editWebsite, QStringLiteral("https://neu.example.de/verein"));
    QTest::keyClicks(dlg.m_editName, QStringLiteral("Neu"));
    QTest::keyClicks(dlg.m_editFtpAdresse, QStringLiteral("ftp://neu.example.de:2121"));
    QTest::keyClicks(dlg.m_editZugangsname, QStringLiteral("j"));
    dlg.m_editZugangsname->insert(QStringLiteral("örg"));
    QTest::keyClicks(dlg.m_editPasswort, QStringLiteral("s"));
    dlg.m_editPasswort->insert(QStringLiteral("€kret"));
}

} // namespace

class FtpZugangTest : public QObject {
    Q_OBJECT
private slots:
    void zeigtMaskiertUndSpeichernNimmtAlleFelder() {
        Werte w = kAlt;
        FTPZugang dlg(w[0], w[1], w[2], w[3], w[4]);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QCOMPARE(dlg.m_editZugangsname->text(), QStringLiteral("müller"));
        QCOMPARE(dlg.m_editPasswort->text(), QStringLiteral("Geßheim!"));
        QCOMPARE(dlg.m_editPasswort->echoMode(), QLineEdit::Password);
        MeldungsRekorder boxen;
        // The pages and the feed append their paths to the site's address.
        for (const char* falsch : {"ftp://example.de", "https://a b.de/", "https://ich@example.de/"}) {
            boxen.leeren();
            dlg.m_editWebsite->setText(QString::fromLatin1(falsch));
            QTest::mouseClick(dlg.m_btnSpeichern, Qt::LeftButton);
            QCOMPARE(boxen.nachrichten().size(), 1);
            QVERIFY2(boxen.texte().first().contains(QStringLiteral("keine Adresse einer Website")), falsch);
            QCOMPARE(dlg.focusWidget(), dlg.m_editWebsite);
        }

        // ł has no Windows-1252 byte: a message and the dialog stays, rather than a silently altered value.
        boxen.leeren();
        dlg.m_editWebsite->clear();
        dlg.m_editPasswort->setText(QStringLiteral("pass\u0142wort"));
        QTest::mouseClick(dlg.m_btnSpeichern, Qt::LeftButton);
        QCOMPARE(boxen.texte().size(), 1);
        QVERIFY(boxen.texte()[0].contains(QStringLiteral("„Passwort“")));

        // CR LF would reach the server as a command of its own; a tab is as invisible in the field.
        const std::array<std::pair<QLineEdit*, const char*>, 4> felder = {
            {{dlg.m_editName, "Name"},
             {dlg.m_editFtpAdresse, "FTP-Adresse"},
             {dlg.m_editZugangsname, "Zugangsname"},
             {dlg.m_editPasswort, "Passwort"}}};
        for (const auto& [feld, name] : felder) {
            const QString vorher = feld->text();
            boxen.leeren();
            feld->setText(QStringLiteral("x\r\nDELE index.php"));
            QTest::mouseClick(dlg.m_btnSpeichern, Qt::LeftButton);
            QCOMPARE(boxen.texte().size(), 1);
            QVERIFY(boxen.texte()[0].contains(QStringLiteral("„%1“").arg(QString::fromLatin1(name))));
            QCOMPARE(dlg.focusWidget(), feld);
            feld->setText(vorher);
        }
        QVERIFY(w == kAlt);

        eintippen(dlg);
        QCOMPARE(dlg.m_editWebsite->placeholderText(), QStringLiteral("http://neu.example.de/"));
        QTest::mouseClick(dlg.m_btnSpeichern, Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(!dlg.isVisible());
        QVERIFY(w == kNeu);
    }

    // Changed through the main window's button, written by "Beenden", read at the next start. The
    // untouched fields keep bytes no keyboard produces, as a hand-edited file may hold them. After Esc
    // an old file of four lines stays as it is; the site's address becomes a fifth line.
    void ueberBeendenBisZumNaechstenStart() {
        TempDir dir;
        const std::string vorher = "Mein\xA0Name\r\nftp://alt.example.de\r\nich\r\n\x81\x8Dpw";
        const std::string nachher =
            "Mein\xA0Name\r\nftp://neu.example.de\r\nich\r\n\x81\x8Dpw\r\nhttp://neu.de:8080";
        writeFile(dir / "data/ftpconfig.bit", vorher);
        MeldungsRekorder boxen;
        for (int weg : {int(Qt::Key_Escape), int(Qt::Key_Return)}) {
            VelmaroDlg dlg(dir.path());
            const auto tun = [weg](FTPZugang* ftp) {
                ftp->m_editFtpAdresse->setText(QStringLiteral("ftp://neu.example.de"));
                ftp->m_editWebsite->setText(QStringLiteral("http://neu.de:8080"));
                // Enter in a field saves like "Speichern" (and does not press the focused Abbrechen).
                ftp->m_editWebsite->setFocus();
                QTest::keyClick(ftp->m_editWebsite, Qt::Key(weg));
            };
            imDialog<FTPZugang>([&] { klicken(dlg.m_btnFtpZugang); }, tun);
            QCOMPARE(readFile(dir / "data/ftpconfig.bit"), vorher); // not before "Beenden"
            QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
            QCOMPARE(readFile(dir / "data/ftpconfig.bit"), weg == Qt::Key_Return ? nachher : vorher);
        }
        VelmaroDlg wieder(dir.path());
        QCOMPARE(wieder.m_zustand.m_ftp.website, std::string("http://neu.de:8080"));
        QCOMPARE(wieder.m_zustand.m_ftp.passwort, std::string("\x81\x8Dpw"));
        QVERIFY2(boxen.nachrichten().isEmpty(), qPrintable(boxen.texte().join(QLatin1Char('\n'))));
    }

    // "Verbindung testen" with the fields' values, beside the dialog: an unknown certificate is asked
    // about (Ja/Nein) and recorded, then the answer; a wrong password is named. "Abbrechen" ends a
    // test of a server that never answers at once, and says nothing.
    void verbindungTestenFragtVertrautUndAntwortet() {
        TempDir dir;
        const auto zert = ZertifikatErzeugen(dir.path(), "server");
        SicherServer server(zert);
        FtpServer stumm("--delay-ms 600000");
        writeFile(dir / "data/ftpconfig.bit",
                  "x\r\nftp://alt.example.de\r\n" + std::string(kFtpBenutzer) + "\r\n");
        MeldungsRekorder boxen;
        boxen.naechsteAntwort(Antwort::Ja);
        VelmaroDlg dlg(dir.path());
        const auto tun = [&](FTPZugang* ftp) {
            const auto testen = [ftp] {
                klicken(ftp->m_btnTesten);
                QTRY_VERIFY_WITH_TIMEOUT(!ftp->m_warten, 20000);
            };
            ftp->m_editFtpAdresse->setText(QString::fromStdString(stumm.adresse()));
            klicken(ftp->m_btnTesten);
            QTest::qWait(300);
            QElapsedTimer zeit;
            zeit.start();
            klicken(ftp->m_warten->findChild<QPushButton*>());
            QVERIFY(!ftp->m_warten && zeit.elapsed() < 2500);
            ftp->m_editFtpAdresse->setText(QString::fromStdString(server.adresse()));
            for (const char* passwort : {kFtpPasswort, "falsch"}) {
                ftp->m_editPasswort->setText(QString::fromLatin1(passwort));
                testen();
            }
            // Recorded in lower case it is the same certificate; a changed one is asked about with
            // its own caption, and Return refuses it.
            ftp->m_editPasswort->setText(QString::fromLatin1(kFtpPasswort));
            const std::string eintrag = "ftps 127.0.0.1 " + server.adresse().substr(17) + " ";
            for (const std::string& f :
                 {QString::fromStdString(zert.fingerabdruck).toLower().toStdString(), std::string("AB:CD")}) {
                writeFile(dir / "data/vertrauen.bit", eintrag + f + "\n");
                testen();
            }
        };
        imDialog<FTPZugang>([&] { klicken(dlg.m_btnFtpZugang); }, tun);
        const auto& n = boxen.nachrichten();
        QCOMPARE(n.size(), 5);
        QVERIFY(n[0].text.contains(QString::fromStdString(zert.fingerabdruck)));
        QVERIFY2(n[1].text.contains(QStringLiteral("funktioniert")), qPrintable(n[1].text));
        QVERIFY2(n[2].text.contains(QStringLiteral("Passwort abgelehnt")), qPrintable(n[2].text));
        QVERIFY(n[3].text.contains(QStringLiteral("funktioniert")));
        QCOMPARE(n[4].titel, QString::fromUtf8(kIdentitaetGeaendert));
        QCOMPARE(n[4].standard, Antwort::Nein);
        QVERIFY(readFile(dir / "data/vertrauen.bit").find("AB:CD") != std::string::npos);
        QCOMPARE(dlg.m_zustand.m_ftp.adresse, std::string("ftp://alt.example.de")); // tested, not saved
    }
};

QTEST_MAIN(FtpZugangTest)
#include "ftpzugang_guitest.moc"
