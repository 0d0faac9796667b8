// The FTP access dialog, driven like a user drives it, and its way into data/ftpconfig.bit.
#include "platform/dialogunits.h"
#include "settings/ftpzugang.h"
#include "ui/velmarodlg.h"

#include "../support/guihelpers.h"
#include "../support/tempdir.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace velmaro;
using namespace velmaro::test;

namespace {

// The four values as the main window holds them.
struct Werte {
    std::string name = "Meine Seite";
    std::string adresse = "ftp://ftp.example.de";
    std::string benutzer = "m\xFCller";
    std::string passwort = "Ge\xDF"
                           "heim!";
    bool operator==(const Werte&) const = default;
};

void oeffnen(FTPZugang& dlg) {
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
}

void neueWerteEintippen(FTPZugang& dlg) {
    for (QLineEdit* e : {dlg.m_editName, dlg.m_editFtpAdresse, dlg.m_editZugangsname, dlg.m_editPasswort})
        e->clear();
    QTest::keyClicks(dlg.m_editName, QStringLiteral("Neu"));
    QTest::keyClicks(dlg.m_editFtpAdresse, QStringLiteral("ftp://neu.example.de:2121"));
    // QTest types ASCII only; the rest goes in as an input method would put it.
    QTest::keyClicks(dlg.m_editZugangsname, QStringLiteral("j"));
    dlg.m_editZugangsname->insert(QStringLiteral("örg"));
    QTest::keyClicks(dlg.m_editPasswort, QStringLiteral("s"));
    dlg.m_editPasswort->insert(QStringLiteral("€"));
    QTest::keyClicks(dlg.m_editPasswort, QStringLiteral("cret"));
}

const Werte kNeu = {"Neu", "ftp://neu.example.de:2121", "j\xF6rg",
                    "s\x80"
                    "cret"};

} // namespace

class FtpZugangTest : public QObject {
    Q_OBJECT
private slots:
    void zeigtDieWerteUndMaskiertDasPasswort() {
        Werte w;
        FTPZugang dlg(w.name, w.adresse, w.benutzer, w.passwort);
        oeffnen(dlg);

        QCOMPARE(dlg.windowTitle(), QStringLiteral("FTP-Zugang"));
        QCOMPARE(dlg.m_editName->text(), QStringLiteral("Meine Seite"));
        QCOMPARE(dlg.m_editFtpAdresse->text(), QStringLiteral("ftp://ftp.example.de"));
        QCOMPARE(dlg.m_editZugangsname->text(), QStringLiteral("müller"));
        QCOMPARE(dlg.m_editPasswort->text(), QStringLiteral("Geßheim!"));
        QCOMPARE(dlg.m_editPasswort->echoMode(), QLineEdit::Password);
        QVERIFY(!dlg.m_editPasswort->displayText().contains(QStringLiteral("heim")));
        QCOMPARE(dlg.m_editName->echoMode(), QLineEdit::Normal);
        QCOMPARE(dlg.findChild<QGroupBox*>()->title(), QStringLiteral("FTP-Zugang festlegen"));
    }

    void speichernUebernimmtAlleFelder() {
        Werte w;
        FTPZugang dlg(w.name, w.adresse, w.benutzer, w.passwort);
        oeffnen(dlg);
        neueWerteEintippen(dlg);

        QTest::mouseClick(dlg.m_btnSpeichern, Qt::LeftButton);

        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(!dlg.isVisible());
        QVERIFY(w == kNeu);
    }

    void enterInEinemFeldSpeichertWieSpeichern_data() {
        QTest::addColumn<bool>("perTab");
        // Which button Qt would press on its own depends on where the focus was before.
        QTest::newRow("mit Tab vom Abbrechen-Knopf") << true;
        QTest::newRow("Feld hat den Fokus von Anfang an") << false;
    }
    void enterInEinemFeldSpeichertWieSpeichern() {
        QFETCH(bool, perTab);
        Werte w;
        FTPZugang dlg(w.name, w.adresse, w.benutzer, w.passwort);
        if (!perTab)
            dlg.m_editZugangsname->setFocus();
        oeffnen(dlg);
        neueWerteEintippen(dlg);
        if (perTab) {
            for (int i = 0; i < 4; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), dlg.m_editZugangsname);

        QTest::keyClick(dlg.m_editZugangsname, Qt::Key_Return);

        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(w == kNeu);
    }

    void abbrechenEscUndSchliessenLassenDieWerte_data() {
        QTest::addColumn<int>("weg");
        QTest::newRow("Abbrechen") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("Schliessfeld") << 2;
        QTest::newRow("Enter auf Abbrechen") << 3;
    }
    void abbrechenEscUndSchliessenLassenDieWerte() {
        QFETCH(int, weg);
        Werte w;
        FTPZugang dlg(w.name, w.adresse, w.benutzer, w.passwort);
        oeffnen(dlg);
        neueWerteEintippen(dlg);

        switch (weg) {
        case 0:
            QTest::mouseClick(dlg.m_btnAbbrechen, Qt::LeftButton);
            break;
        case 1:
            QTest::keyClick(dlg.m_editPasswort, Qt::Key_Escape);
            break;
        case 2:
            dlg.close();
            break;
        case 3:
            dlg.m_btnAbbrechen->setFocus();
            QTest::keyClick(dlg.m_btnAbbrechen, Qt::Key_Return);
            break;
        }

        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(!dlg.isVisible());
        QVERIFY(w == Werte{});
    }

    void abbrechenHatDenFokusUndDieTabfolgeIstDieDerVorlage() {
        Werte w;
        FTPZugang dlg(w.name, w.adresse, w.benutzer, w.passwort);
        oeffnen(dlg);

        QCOMPARE(QApplication::focusWidget(), dlg.m_btnAbbrechen);
        // Enter on the focused first button cancels: "Speichern" is not the default button.
        QVERIFY(!dlg.m_btnSpeichern->isDefault());
        const QList<QWidget*> folge = {dlg.m_btnSpeichern,    dlg.m_editName,     dlg.m_editFtpAdresse,
                                       dlg.m_editZugangsname, dlg.m_editPasswort, dlg.m_btnAbbrechen};
        for (QWidget* naechster : folge) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), naechster);
        }
    }

    void groesseInDialogeinheitenMitArial9() {
        Werte w;
        FTPZugang dlg(w.name, w.adresse, w.benutzer, w.passwort);
        const DialogUnits du(dialogFont(9));
        QCOMPARE(dlg.font().family(), dialogFont(9).family());
        QCOMPARE(dlg.size(), QSize(du.x(207), du.y(111)));
        QCOMPARE(dlg.m_editPasswort->geometry(), du.rect(69, 63, 121, 14));
        QCOMPARE(dlg.m_btnAbbrechen->geometry(), du.rect(122, 84, 68, 14));
    }

    void unberuehrteFelderBehaltenIhreBytes() {
        // Bytes no keyboard produces, as a hand-edited file may hold them.
        Werte w;
        w.name = "Tab\there";
        w.passwort = "\x81\x8D"
                     "alt";
        const Werte vorher = w;
        FTPZugang dlg(w.name, w.adresse, w.benutzer, w.passwort);
        oeffnen(dlg);
        dlg.m_editFtpAdresse->setText(QStringLiteral("ftp://anders.example.de"));

        QTest::mouseClick(dlg.m_btnSpeichern, Qt::LeftButton);

        QCOMPARE(w.adresse, std::string("ftp://anders.example.de"));
        QCOMPARE(w.name, vorher.name);
        QCOMPARE(w.passwort, vorher.passwort);
    }

    void zeichenAusserhalbVonWindows1252WerdenNichtStillVerfaelscht() {
        Werte w;
        FTPZugang dlg(w.name, w.adresse, w.benutzer, w.passwort);
        oeffnen(dlg);
        MeldungsRekorder boxen;
        dlg.m_editPasswort->setText(QStringLiteral("pass\u0142wort")); // ł

        QTest::mouseClick(dlg.m_btnSpeichern, Qt::LeftButton);

        QCOMPARE(boxen.nachrichten().size(), 1);
        QCOMPARE(boxen.nachrichten().first().titel, QStringLiteral("Fehler"));
        QVERIFY(boxen.texte().first().contains(QStringLiteral("„Passwort“")));
        QVERIFY(!boxen.texte().first().contains(QStringLiteral("pass\u0142wort")));
        QVERIFY(dlg.isVisible());
        QVERIFY(w == Werte{});
    }

    // Typed into the dialog, kept through "Beenden", there again at the next start.
    void ueberDenGoKnopfBisInDieDateiUndZurueck() {
        TempDir dir;
        writeFile(dir / "data/ftpconfig.bit", "");
        {
            MeldungsRekorder boxen;
            VelmaroDlg dlg(dir.path());
            bool geoeffnet = false;
            QTimer::singleShot(0, [&] {
                auto* ftp = qobject_cast<FTPZugang*>(QApplication::activeModalWidget());
                QVERIFY(ftp);
                geoeffnet = true;
                QCOMPARE(ftp->parentWidget(), &dlg);
                neueWerteEintippen(*ftp);
                QTest::mouseClick(ftp->m_btnSpeichern, Qt::LeftButton);
            });
            QTest::mouseClick(dlg.m_btnFtpZugang, Qt::LeftButton);
            QVERIFY(geoeffnet);
            QCOMPARE(dlg.m_einstellungen[1], kNeu.adresse);
            QCOMPARE(dlg.m_einstellungen[3], kNeu.passwort);
            // Nothing reaches the disk before "Beenden".
            QCOMPARE(readFile(dir / "data/ftpconfig.bit"), std::string());
            QTest::mouseClick(dlg.m_btnBeenden, Qt::LeftButton);
            QVERIFY(boxen.nachrichten().isEmpty());
        }
        QCOMPARE(readFile(dir / "data/ftpconfig.bit"),
                 std::string("Neu\r\nftp://neu.example.de:2121\r\nj\xF6rg\r\ns\x80"
                             "cret"));
        MeldungsRekorder boxen;
        VelmaroDlg wieder(dir.path());
        QCOMPARE(wieder.m_einstellungen[0], kNeu.name);
        QCOMPARE(wieder.m_einstellungen[1], kNeu.adresse);
        QCOMPARE(wieder.m_einstellungen[2], kNeu.benutzer);
        QCOMPARE(wieder.m_einstellungen[3], kNeu.passwort);
    }

    void abbrechenUeberDenGoKnopfAendertNichts() {
        TempDir dir;
        writeFile(dir / "data/ftpconfig.bit", "A\r\nB\r\nC\r\nD");
        MeldungsRekorder boxen;
        VelmaroDlg dlg(dir.path());
        QTimer::singleShot(0, [&] {
            auto* ftp = qobject_cast<FTPZugang*>(QApplication::activeModalWidget());
            QVERIFY(ftp);
            neueWerteEintippen(*ftp);
            QTest::keyClick(ftp->m_editName, Qt::Key_Escape);
        });
        QTest::mouseClick(dlg.m_btnFtpZugang, Qt::LeftButton);

        QCOMPARE(dlg.m_einstellungen[0], std::string("A"));
        QCOMPARE(dlg.m_einstellungen[3], std::string("D"));
    }
};

QTEST_MAIN(FtpZugangTest)
#include "ftpzugang_guitest.moc"
