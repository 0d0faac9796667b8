// "Update Website" in the real main window against a loopback FTP server, and the two buttons that
// open web pages, with the browser replaced by an intercepted URL handler.
#include "publish/upload.h"
#include "settings/ftpzugang.h"
#include "ui/velmarodlg.h"

#include "../support/ftpserver.h"
#include "../support/guihelpers.h"
#include "../support/tempdir.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <map>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

const QString kEreignis10 =
    QStringLiteral("Daten wurden erfolgreich übertragen!\nDie Website kann nun zur Kontrolle "
                   "betrachtet werden");
const QString kEreignis11 =
    QStringLiteral("Daten konnten nicht übertragen werden!\nÜberprüfen Sie Ihre Internetverbindung");
const QString kEreignis8 = QStringLiteral("Verbindung zum Server wird hergestellt!");
const QString kEreignis9 = QStringLiteral("Daten werden übertragen!");

// Seven articles at five per page, and the FTP access, saved as "Beenden" saves them.
void datenAnlegen(const fs::path& ordner, const FtpServer* server, const std::string& passwort = {}) {
    VelmaroZustand z;
    z.m_ordner = ordner;
    z.m_marker = {"ARTIKEL", "ENDE"};
    z.m_artikelProSeite = "5";
    for (int i = 1; i <= 7; ++i) {
        z.m_datum = DateTime::fromParts(2005, 3, i, 12, 0);
        z.m_ueberschrift = "Meldung " + std::to_string(i);
        z.m_textinhalt = "Text \xE4\xF6\xFC " + std::to_string(i) + "\r\nzweite Zeile";
        z.ArtikelEinfuegen();
    }
    if (server) {
        z.m_einstellungen[0] = "Testseite";
        z.m_einstellungen[1] = server->adresse();
        z.m_einstellungen[2] = server->optionen().benutzer;
        z.m_einstellungen[3] = passwort.empty() ? server->optionen().passwort : passwort;
    }
    if (!z.DateienSchreiben().empty())
        throw std::runtime_error("cannot prepare data/");
}

std::map<std::string, std::string> ordnerInhalt(const fs::path& ordner) {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::directory_iterator(ordner))
        m[e.path().filename().string()] = readFile(e.path());
    return m;
}

// Every text the event line showed on screen, in order.
class Anzeigeprotokoll : public QObject {
public:
    explicit Anzeigeprotokoll(QLabel* label) : m_label(label) { label->installEventFilter(this); }
    QStringList texte;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == m_label && e->type() == QEvent::Paint &&
            (texte.isEmpty() || texte.last() != m_label->text()))
            texte << m_label->text();
        return false;
    }

private:
    QLabel* m_label;
};

} // namespace

// Stands in for the browser.
class Browser : public QObject {
    Q_OBJECT
public:
    QStringList geoeffnet;
public slots:
    void oeffnen(const QUrl& url) { geoeffnet << url.toString(QUrl::FullyEncoded); }
};

class PublishTest : public QObject {
    Q_OBJECT

    Browser m_browser;

    // A shown main window on dir, as after a start.
    static void zeigen(VelmaroDlg& dlg) {
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    }

private slots:
    void init() {
        m_browser.geoeffnet.clear();
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_browser, "oeffnen");
    }
    void cleanup() { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }

    // --- Update Website -------------------------------------------------------------------------

    void updateWebsiteSendetAlleErzeugtenDateienUndEndetAufEreignis10() {
        FtpServer server;
        TempDir dir;
        datenAnlegen(dir.path(), &server);
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        zeigen(dlg);
        Anzeigeprotokoll anzeige(dlg.m_ereignis);

        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);

        QVERIFY2(boxen.nachrichten().isEmpty(), qPrintable(boxen.texte().join(QStringLiteral("\n"))));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis10);
        QVERIFY(dlg.m_btnUpdate->isEnabled());
        const auto lokal = ordnerInhalt(dir / "output");
        QCOMPARE(lokal.size(), std::size_t(11)); // style.css, inhalt0-2, artikel1-7
        QVERIFY(ordnerInhalt(server.wurzel() / "data") == lokal);
        // The line showed each step while the upload ran, the pages but not the stylesheet.
        const int e8 = anzeige.texte.indexOf(kEreignis8);
        const int e9 = anzeige.texte.indexOf(kEreignis9);
        const int erste = anzeige.texte.indexOf(QStringLiteral("Übertrage Seite inhalt0.php"));
        const int letzte = anzeige.texte.indexOf(QStringLiteral("Übertrage Seite artikel7.php"));
        QVERIFY2(e8 >= 0 && e8 < e9 && e9 < erste && erste < letzte,
                 qPrintable(anzeige.texte.join(QLatin1Char('|'))));
        QCOMPARE(anzeige.texte.last(), kEreignis10);
        QVERIFY(!anzeige.texte.contains(QStringLiteral("Übertrage Seite style.css")));
        QVERIFY(!dlg.m_pFtpVerbindung);
        QVERIFY(!dlg.m_pSitzung);
    }

    void falschesPasswortMeldetAnmeldungUndUpdateBleibtBenutzbar() {
        FtpServer server;
        TempDir dir;
        datenAnlegen(dir.path(), &server, "Vertippt-123");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());

        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);

        QCOMPARE(boxen.nachrichten().size(), 1);
        const Nachricht& n = boxen.nachrichten().first();
        QCOMPARE(n.titel, QStringLiteral("Fehler"));
        QVERIFY2(n.text.contains(QStringLiteral("Anmeldung")), qPrintable(n.text));
        QVERIFY2(n.text.contains(QStringLiteral("530")), qPrintable(n.text));
        QVERIFY(!n.text.contains(QStringLiteral("Vertippt-123")));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis11);
        QVERIFY(dlg.m_btnUpdate->isEnabled());

        // Corrected in the FTP dialog, the next click goes through without a restart.
        QTimer::singleShot(0, [&] {
            auto* ftp = qobject_cast<FTPZugang*>(QApplication::activeModalWidget());
            QVERIFY(ftp);
            ftp->m_editPasswort->setText(QString::fromStdString(server.optionen().passwort));
            QTest::mouseClick(ftp->m_btnSpeichern, Qt::LeftButton);
        });
        QTest::mouseClick(dlg.m_btnFtpZugang, Qt::LeftButton);
        boxen.leeren();
        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);
        QVERIFY2(boxen.nachrichten().isEmpty(), qPrintable(boxen.texte().join(QStringLiteral("\n"))));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis10);
        QVERIFY(fs::exists(server.wurzel() / "data" / "artikel7.php"));
    }

    void ohneServerMeldetVerbindungsaufbauUndEreignis11() {
        TempDir dir;
        datenAnlegen(dir.path(), nullptr);
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        dlg.m_einstellungen[1] = "127.0.0.1:" + std::to_string(freierPort());
        dlg.m_einstellungen[2] = "ich";
        dlg.m_einstellungen[3] = "Kennwort-9";

        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);

        QCOMPARE(boxen.nachrichten().size(), 1);
        QCOMPARE(boxen.nachrichten().first().titel, QStringLiteral("Fehler"));
        QVERIFY2(boxen.texte().first().contains(QStringLiteral("Verbindungsaufbau")),
                 qPrintable(boxen.texte().first()));
        QVERIFY(!boxen.texte().first().contains(QStringLiteral("Kennwort-9")));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis11);
        QVERIFY(dlg.m_btnUpdate->isEnabled());
    }

    void ordnerNichtAnlegbarGibtGenauEineMeldung() {
        FtpServerOptionen o;
        o.ohneMkd = true;
        FtpServer server(o);
        TempDir dir;
        datenAnlegen(dir.path(), &server);
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());

        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);

        QCOMPARE(boxen.nachrichten().size(), 1);
        QCOMPARE(boxen.nachrichten().first().text,
                 QStringLiteral("Konnte nicht in den Ausgabordner wechseln"));
        QCOMPARE(boxen.nachrichten().first().titel, QStringLiteral("Fehler"));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis11);
        QVERIFY(dlg.m_btnUpdate->isEnabled());
        QVERIFY(!fs::exists(server.wurzel() / "data"));
    }

    void abgelehnteDateiHatLeereUeberschriftUndVerhindertEreignis10() {
        FtpServerOptionen o;
        o.abgelehnt = {"artikel3.php"};
        FtpServer server(o);
        TempDir dir;
        datenAnlegen(dir.path(), &server);
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());

        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);

        QCOMPARE(boxen.nachrichten().size(), 2);
        QCOMPARE(boxen.nachrichten()[0].text, QStringLiteral("artikel3.php konnte nicht gesendet werden"));
        QCOMPARE(boxen.nachrichten()[0].titel, QString());
        QCOMPARE(boxen.nachrichten()[0].antworten, QList<Antwort>{Antwort::Ok});
        QVERIFY2(boxen.nachrichten()[1].text.contains(QStringLiteral("1 von 11 Dateien")),
                 qPrintable(boxen.nachrichten()[1].text));
        QCOMPARE(dlg.m_ereignis->text(), kEreignis11);
        QVERIFY(dlg.m_btnUpdate->isEnabled());
        QVERIFY(fs::exists(server.wurzel() / "data" / "artikel7.php"));
        QVERIFY(!fs::exists(server.wurzel() / "data" / "artikel3.php"));
    }

    void verbindenUndEinzelneDateiSendenAufDemFenster() {
        FtpServer server;
        TempDir dir;
        writeFile(dir / "output/style.css", "body { }\r\n");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        boxen.leeren();

        QVERIFY(dlg.FtpVerbinden("Fenster", "ftp://" + server.adresse(), server.optionen().benutzer,
                                 server.optionen().passwort));
        QVERIFY(dlg.m_pFtpVerbindung);
        dlg.DateiSenden(dir / "output/style.css", "style.css");
        dlg.DateiSenden(dir / "output/fehlt.php", "fehlt.php");

        QCOMPARE(readFile(server.wurzel() / "data/style.css"), std::string("body { }\r\n"));
        QCOMPARE(boxen.nachrichten().size(), 1);
        QCOMPARE(boxen.nachrichten().first().text, QStringLiteral("fehlt.php konnte nicht gesendet werden"));
        QCOMPARE(boxen.nachrichten().first().titel, QString());
    }

    // --- Check page and publisher link ----------------------------------------------------------

    void kontrollseite_data() {
        QTest::addColumn<QString>("ftpAdresse");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("normal") << QStringLiteral("ftp://www.beispiel.de")
                                << QStringLiteral(
                                       "http://www.beispiel.de/news.php?sitename=data/inhalt1.php");
        QTest::newRow("sechs Zeichen")
            << QStringLiteral("ftp://") << QStringLiteral("http:///news.php?sitename=data/inhalt1.php");
        QTest::newRow("mit http") << QStringLiteral("http://www.beispiel.de")
                                  << QStringLiteral(
                                         "http:///www.beispiel.de/news.php?sitename=data/inhalt1.php");
        // The six characters are dropped whatever they are.
        QTest::newRow("ohne Schema") << QStringLiteral("ftp.beispiel.de")
                                     << QStringLiteral("http://ispiel.de/news.php?sitename=data/inhalt1.php");
    }
    void kontrollseite() {
        QFETCH(QString, ftpAdresse);
        QFETCH(QString, erwartet);
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        boxen.leeren();
        dlg.m_einstellungen[1] = ftpAdresse.toStdString();

        QTest::mouseClick(dlg.m_btnKontrollseite, Qt::LeftButton);

        QCOMPARE(m_browser.geoeffnet, QStringList{erwartet});
        QVERIFY(boxen.nachrichten().isEmpty());
    }

    void kontrollseiteMitZuKurzerAdresseMeldetUndOeffnetNichts_data() {
        QTest::addColumn<QString>("ftpAdresse");
        QTest::newRow("leer") << QString();
        QTest::newRow("fuenf Zeichen") << QStringLiteral("ftp:/");
    }
    void kontrollseiteMitZuKurzerAdresseMeldetUndOeffnetNichts() {
        QFETCH(QString, ftpAdresse);
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        boxen.leeren();
        dlg.m_einstellungen[1] = ftpAdresse.toStdString();

        QTest::mouseClick(dlg.m_btnKontrollseite, Qt::LeftButton);

        QVERIFY(m_browser.geoeffnet.isEmpty());
        QCOMPARE(boxen.nachrichten().size(), 1);
        QCOMPARE(boxen.nachrichten().first().titel, QStringLiteral("Fehler"));
        QVERIFY(boxen.texte().first().contains(QStringLiteral("FTP-Adresse fehlt oder ist zu kurz")));
    }

    void kontrollseiteNimmtDieImDialogGeaenderteAdresseOhneSpeichern() {
        TempDir dir;
        writeFile(dir / "data/ftpconfig.bit", "Seite\r\nftp://alt.example.de\r\nich\r\ngeheim");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        QTimer::singleShot(0, [&] {
            auto* ftp = qobject_cast<FTPZugang*>(QApplication::activeModalWidget());
            QVERIFY(ftp);
            ftp->m_editFtpAdresse->setText(QStringLiteral("ftp://neu.example.de"));
            QTest::mouseClick(ftp->m_btnSpeichern, Qt::LeftButton);
        });
        QTest::mouseClick(dlg.m_btnFtpZugang, Qt::LeftButton);

        QTest::mouseClick(dlg.m_btnKontrollseite, Qt::LeftButton);

        QCOMPARE(m_browser.geoeffnet,
                 QStringList{QStringLiteral("http://neu.example.de/news.php?sitename=data/inhalt1.php")});
        QCOMPARE(readFile(dir / "data/ftpconfig.bit"),
                 std::string("Seite\r\nftp://alt.example.de\r\nich\r\ngeheim"));
    }

    void verlagsknopfOeffnetDieVerlagsadresse() {
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());

        QTest::mouseClick(dlg.m_btnHomepage, Qt::LeftButton);

        QCOMPARE(m_browser.geoeffnet.size(), 1);
        QCOMPARE(QUrl(m_browser.geoeffnet.first()), QUrl(QString::fromLatin1(kVerlagsAdresse)));
    }
};

QTEST_MAIN(PublishTest)
#include "publish_guitest.moc"
