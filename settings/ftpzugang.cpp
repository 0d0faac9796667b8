#include "settings/ftpzugang.h"

#include "platform/serveradresse.h"
#include "platform/unicode.h"
#include "platform/verbindungsfehler.h"
#include "widgets/dialogunits.h"
#include "widgets/meldung.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

namespace velmaro {

FTPZugang::FTPZugang(std::string& name, std::string& ftpAdresse, std::string& zugangsname,
                     std::string& passwort, std::string& website, QWidget* parent)
    : QDialog(parent)
    , m_pName(&name)
    , m_pFtpAdresse(&ftpAdresse)
    , m_pZugangsname(&zugangsname)
    , m_pPasswort(&passwort)
    , m_pWebsite(&website) {
    ControlsAnlegen();
    DatenAustausch(false);
    // The first control in tab order holds the focus when the dialog opens.
    m_btnAbbrechen->setFocus();
}

void FTPZugang::ControlsAnlegen() {
    // The template's 111 units, a row for the site's address and one below the group for
    // "Verbindung testen".
    const DialogUnits du = festerDialog(*this, QStringLiteral("FTP-Zugang"), 207, 145);
    setModal(true);

    auto knopf = [&](const QString& text, const char* id, int x) {
        auto* b = new QPushButton(text, this);
        b->setGeometry(du.rect(x, 100, 68, 14));
        b->setObjectName(QString::fromLatin1(id));
        // Enter on a focused button presses that button; there is no default button.
        b->setAutoDefault(true);
        return b;
    };
    auto beschriftung = [&](const QString& text, int y, int hoehe = 8) {
        auto* l = new QLabel(text, this);
        l->setGeometry(du.rect(16, y, 52, hoehe));
        l->setAlignment(Qt::AlignRight | Qt::AlignTop);
        l->setWordWrap(true);
    };
    auto feld = [&](const char* id, int y) {
        auto* e = new QLineEdit(this);
        e->setGeometry(du.rect(69, y, 121, 14));
        e->setObjectName(QString::fromLatin1(id));
        return e;
    };

    m_btnAbbrechen = knopf(QStringLiteral("Abbrechen"), "m_btnAbbrechen", 122);
    m_btnSpeichern = knopf(QStringLiteral("Speichern"), "m_btnSpeichern", 16);
    beschriftung(QStringLiteral("Zugangsname : "), 48);
    beschriftung(QStringLiteral("Passwort : "), 64);
    beschriftung(QStringLiteral("FTP-Adresse : "), 32);
    beschriftung(QStringLiteral("Name : "), 16);
    beschriftung(QStringLiteral("Adresse der Website : "), 78, 16);
    m_editName = feld("m_editName", 15);
    m_editFtpAdresse = feld("m_editFtpAdresse", 31);
    m_editZugangsname = feld("m_editZugangsname", 47);
    m_editPasswort = feld("m_editPasswort", 63);
    m_editPasswort->setEchoMode(QLineEdit::Password);
    m_editWebsite = feld("m_editWebsite", 79);
    // Left empty, the address the FTP address gives: shown in the empty field.
    connect(m_editFtpAdresse, &QLineEdit::textChanged, this, [this](const QString& ftp) {
        m_editWebsite->setPlaceholderText(
            zuUnicode(WebsiteAdresse({}, zuCp1252(ftp)).value_or(std::string())));
    });
    auto* rahmen = new QGroupBox(QStringLiteral("FTP-Zugang festlegen"), this);
    rahmen->setGeometry(du.rect(7, 3, 192, 117));
    rahmen->lower();

    m_btnTesten = new QPushButton(QStringLiteral("Verbindung testen"), this);
    m_btnTesten->setGeometry(du.rect(122, 124, 68, 14));
    m_btnTesten->setAutoDefault(true);

    setTabOrder(m_btnAbbrechen, m_btnSpeichern);
    setTabOrder(m_btnSpeichern, m_editName);
    setTabOrder(m_editName, m_editFtpAdresse);
    setTabOrder(m_editFtpAdresse, m_editZugangsname);
    setTabOrder(m_editZugangsname, m_editPasswort);
    setTabOrder(m_editPasswort, m_editWebsite);
    setTabOrder(m_editWebsite, m_btnTesten);

    connect(m_btnAbbrechen, &QPushButton::clicked, this, &FTPZugang::OnAbbrechen);
    connect(m_btnSpeichern, &QPushButton::clicked, this, &FTPZugang::OnSpeichern);
    connect(m_btnTesten, &QPushButton::clicked, this, &FTPZugang::OnVerbindungTesten);
}

bool FTPZugang::DatenAustausch(bool speichern) {
    const std::array<std::pair<QLineEdit*, std::string*>, 5> felder = {{{m_editName, m_pName},
                                                                        {m_editFtpAdresse, m_pFtpAdresse},
                                                                        {m_editZugangsname, m_pZugangsname},
                                                                        {m_editPasswort, m_pPasswort},
                                                                        {m_editWebsite, m_pWebsite}}};
    if (!speichern) {
        for (std::size_t i = 0; i < felder.size(); ++i) {
            felder[i].first->setText(zuUnicode(*felder[i].second));
            m_gezeigt[i] = felder[i].first->text();
        }
        return true;
    }
    static const char* const namen[] = {"Name", "FTP-Adresse", "Zugangsname", "Passwort",
                                        "Adresse der Website"};
    for (std::size_t i = 0; i < felder.size(); ++i) {
        // A character the file cannot hold would be stored as '?': a different password.
        if (!passtInCp1252(felder[i].first->text())) {
            Meldung(
                this,
                QStringLiteral("Das Feld „%1“ enthält Zeichen, die nicht gespeichert werden können.\nErlaubt "
                               "sind die Zeichen des westeuropäischen Zeichensatzes (Windows-1252).")
                    .arg(QString::fromLatin1(namen[i])),
                QStringLiteral("Fehler"));
            felder[i].first->setFocus();
            return false;
        }
        // Refused here already, not only at upload time: the user can still see what was typed.
        if (felder[i].second != m_pWebsite && hatSteuerzeichen(zuCp1252(felder[i].first->text()))) {
            Meldung(this,
                    QStringLiteral("Das Feld „%1“ enthält ein Steuerzeichen (etwa einen Zeilenumbruch oder "
                                   "Tabulator). Solche Zeichen würden an den FTP-Server als eigene Befehle "
                                   "weitergegeben und werden daher nicht gespeichert.\nSteuerzeichen sind "
                                   "unsichtbar; am einfachsten geben Sie den Eintrag neu ein.")
                        .arg(QString::fromLatin1(namen[i])),
                    QStringLiteral("Fehler"));
            felder[i].first->setFocus();
            felder[i].first->selectAll();
            return false;
        }
    }
    // Pages and the feed append their paths to it; anything but a web address would make them dead.
    const std::string website = zuCp1252(m_editWebsite->text());
    if (!website.empty() && !WebAdresseGueltig(website)) {
        Meldung(this,
                QStringLiteral("„%1“ ist keine Adresse einer Website.\nDie Adresse der Website beginnt mit "
                               "http:// oder https:// und nennt den Server, etwa https://www.example.de/ "
                               "(ohne Leerzeichen, ? oder #). Bleibt das Feld leer, gilt http:// und der "
                               "Server der FTP-Adresse.")
                    .arg(m_editWebsite->text()),
                QStringLiteral("Fehler"));
        m_editWebsite->setFocus();
        m_editWebsite->selectAll();
        return false;
    }
    for (std::size_t i = 0; i < felder.size(); ++i) {
        const QString text = felder[i].first->text();
        if (text != m_gezeigt[i]) {
            *felder[i].second = zuCp1252(text);
            m_gezeigt[i] = text;
        }
    }
    return true;
}

void FTPZugang::OnSpeichern() {
    if (DatenAustausch(true))
        accept();
}

void FTPZugang::OnVerbindungTesten() {
    if (!m_verbindungTest || m_test)
        return;
    // The same checks as "Speichern", without taking the fields: nothing unsendable goes out.
    for (QLineEdit* e : {m_editFtpAdresse, m_editZugangsname, m_editPasswort})
        if (!passtInCp1252(e->text()) || hatSteuerzeichen(zuCp1252(e->text()))) {
            Meldung(this,
                    QStringLiteral("Die Felder enthalten Zeichen, die nicht an einen Server gesendet werden "
                                   "können (Steuerzeichen oder Zeichen außerhalb von Windows-1252)."),
                    QStringLiteral("Verbindung testen"));
            return;
        }
    m_warten = new QProgressDialog(QStringLiteral("Verbindung wird getestet …"), QStringLiteral("Abbrechen"),
                                   0, 0, this);
    m_warten->setWindowTitle(QStringLiteral("Verbindung testen"));
    m_warten->setWindowModality(Qt::WindowModal);
    m_warten->setAutoReset(false);
    m_warten->setAutoClose(false);
    connect(m_warten, &QProgressDialog::canceled, this, [this] { TestBeendet(true); });
    m_test = m_verbindungTest(zuCp1252(m_editFtpAdresse->text()), zuCp1252(m_editZugangsname->text()),
                              zuCp1252(m_editPasswort->text()), [this](const std::string& antwort) {
                                  TestBeendet(false);
                                  if (!antwort.empty())
                                      Meldung(this, QString::fromStdString(antwort),
                                              QStringLiteral("Verbindung testen"));
                              });
    m_warten->show();
}

void FTPZugang::TestBeendet(bool abgebrochen) {
    if (!m_warten)
        return;
    m_warten->hide();
    m_warten->deleteLater();
    m_warten = nullptr;
    // Abgebrochen, the test gives up and is waited for here; once it answered, it is still on the
    // stack, and goes later.
    if (abgebrochen)
        m_test.reset();
    else
        m_test.release()->deleteLater();
}

void FTPZugang::OnAbbrechen() {
    reject();
}

void FTPZugang::accept() {
    if (DatenAustausch(true))
        QDialog::accept();
}

void FTPZugang::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Focused buttons take Enter themselves; in a field it is the dialog's OK command.
        if (!qobject_cast<QPushButton*>(focusWidget())) {
            accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

} // namespace velmaro
