// "Update Website" in the real main window against a loopback FTP server, and the two buttons that
// open web pages, with the browser replaced by an intercepted URL handler. What the upload sends and
// reports is proven in upload_test.cpp; here only what the window adds.
#include "publish/upload.h"
#include "ui/velmarodlg.h"

#include "../support/ftpserver.h"
#include "../support/guihelpers.h"
#include "../support/testdaten.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

using namespace velmaro;
using namespace velmaro::test;

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

private slots:
    void init() {
        m_browser.geoeffnet.clear();
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_browser, "oeffnen");
    }
    void cleanup() { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }

    void updateWebsiteScheitertMitFalschemPasswortUndGelingtDanach() {
        FtpServer server;
        TempDir dir;
        writeFile(dir / "data/ftpconfig.bit",
                  "Seite\r\n" + server.adresse() + "\r\n" + kFtpBenutzer + "\r\nvertippt");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        boxen.leeren();

        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);
        QCOMPARE(boxen.nachrichten().size(), 1);
        QCOMPARE(boxen.nachrichten().first().titel, QStringLiteral("Fehler"));
        QVERIFY(dlg.m_ereignis->text().startsWith(QStringLiteral("Daten konnten nicht übertragen werden!")));
        QVERIFY(dlg.m_btnUpdate->isEnabled());

        // Corrected, the next click goes through without a restart.
        dlg.m_zustand.m_ftp.passwort = kFtpPasswort;
        boxen.leeren();
        QTest::mouseClick(dlg.m_btnUpdate, Qt::LeftButton);
        QVERIFY2(boxen.nachrichten().isEmpty(), qPrintable(boxen.texte().join(QLatin1Char('\n'))));
        QVERIFY(dlg.m_ereignis->text().startsWith(QStringLiteral("Daten wurden erfolgreich übertragen!")));
        QVERIFY(dlg.m_btnUpdate->isEnabled());
        QVERIFY(std::filesystem::exists(server.wurzel() / "data/inhalt1.php"));
    }

    void kontrollseite_data() {
        QTest::addColumn<QString>("ftpAdresse");
        QTest::addColumn<QString>("erwartet"); // empty: a message instead
        const auto zeile = [](const char* name, const char* ftp, const char* http) {
            QTest::newRow(name) << QString::fromUtf8(ftp) << QString::fromUtf8(http);
        };
        // The first six characters go, whatever they are.
        zeile("normal", "ftp://beispiel.de", "http://beispiel.de/news.php?sitename=data/inhalt1.php");
        zeile("sechs Zeichen", "ftp://", "http:///news.php?sitename=data/inhalt1.php");
        zeile("mit http", "http://beispiel.de", "http:///beispiel.de/news.php?sitename=data/inhalt1.php");
        zeile("leer", "", "");
        zeile("fuenf Zeichen", "ftp:/", "");
    }
    void kontrollseite() {
        QFETCH(QString, ftpAdresse);
        QFETCH(QString, erwartet);
        TempDir dir;
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        boxen.leeren();
        dlg.m_zustand.m_ftp.adresse = ftpAdresse.toStdString();

        QTest::mouseClick(dlg.m_btnKontrollseite, Qt::LeftButton);

        QCOMPARE(m_browser.geoeffnet, erwartet.isEmpty() ? QStringList() : QStringList{erwartet});
        QCOMPARE(boxen.nachrichten().size(), erwartet.isEmpty() ? 1 : 0);
        if (erwartet.isEmpty()) {
            QCOMPARE(boxen.nachrichten().first().titel, QStringLiteral("Fehler"));
            QVERIFY(boxen.texte().first().contains(QStringLiteral("FTP-Adresse fehlt oder ist zu kurz")));
        }
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
