#include "ui/velmarodlg.h"

#include "platform/benutzerordner.h"
#include "platform/pruefsumme.h"
#include "platform/unicode.h"
#include "publish/auftrag.h"
#include "publish/upload.h"
#include "publish/verbindungstest.h"
#include "settings/ftpzugang.h"
#include "settings/styledlg.h"
#include "site/updatewebsite.h"
#include "ui/aboutdlg.h"
#include "ui/programmicon.h"
#include "ui/uploadfortschritt.h"
#include "ui/weblinks.h"
#include "widgets/dialogunits.h"
#include "widgets/meldung.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>

#include <cstdlib>

#include <utility>

namespace velmaro {

namespace {
// A group box as the templates draw it: the frame's top line runs through the middle of the title,
// which interrupts it, so that the frame stays clear of the controls placed just below the title.
class Gruppe : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int einzug = fontMetrics().averageCharWidth();
        const QRect titel(einzug, 0, fontMetrics().horizontalAdvance(title()) + 1, fontMetrics().height());
        p.save();
        p.setClipRegion(QRegion(rect()) - titel.adjusted(-einzug / 2, 0, einzug / 2, 0));
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(rect().adjusted(0, titel.center().y(), -1, -1));
        p.restore();
        style()->drawItemText(&p, titel, Qt::AlignLeft | Qt::TextShowMnemonic, palette(), isEnabled(),
                              title(), QPalette::WindowText);
    }
};

const QString kFtpMeldung =
    QStringLiteral("Konfigurationsdatei für die FTP-Einstellungen konnte\nnicht geöffnet "
                   "werden. Oder es wurden\nnoch keine Einstellungen getätigt. ");
} // namespace

VelmaroDlg::VelmaroDlg(const std::filesystem::path& ordner, QWidget* parent)
    : QDialog(parent)
    , m_editor(m_zustand, this, [this](Ereignisart art) { Ereignisanzeige(art); }) {
    m_zustand.m_ordner = ordner;
    ControlsAnlegen();
    BefehleVerbinden();
    FensterInitialisieren();
}

VelmaroDlg::~VelmaroDlg() {
    // The connections give up at once; nothing waits for the window, which answers no more.
    if (m_upload) {
        m_upload->Aufgeben();
        m_upload->Abwarten();
    }
}

void VelmaroDlg::ControlsAnlegen() {
    const DialogUnits du = festerDialog(*this, QStringLiteral("Content Management vom Dorvent"), 457, 279);
    setWindowIcon(ProgrammIcon());

    auto knopf = [&](const QString& text, int x, int y, int w, int h, const char* id) {
        auto* b = new QPushButton(text, this);
        b->setGeometry(du.rect(x, y, w, h));
        // Return presses "Neuer Artikel" only, never the button that has the focus.
        b->setAutoDefault(false);
        b->setObjectName(QString::fromLatin1(id));
        return b;
    };
    auto gruppe = [&](const QString& text, int x, int y, int w, int h) {
        auto* g = new Gruppe(text, this);
        g->setGeometry(du.rect(x, y, w, h));
        return g;
    };
    auto text = [&](const QString& t, int x, int y, int w, int h, Qt::Alignment a) {
        auto* l = new QLabel(t, this);
        l->setGeometry(du.rect(x, y, w, h));
        l->setAlignment(a | Qt::AlignTop);
        return l;
    };

    QList<QWidget*> gruppen;
    m_editor.m_editUeberschrift = new QLineEdit(this);
    m_editor.m_editUeberschrift->setGeometry(du.rect(174, 33, 113, 15));
    m_editor.m_editUeberschrift->setObjectName(QStringLiteral("m_editUeberschrift"));
    m_editor.m_editTextinhalt = new TextinhaltEdit(this);
    m_editor.m_editTextinhalt->setGeometry(du.rect(174, 54, 113, 115));
    m_editor.m_editTextinhalt->setObjectName(QStringLiteral("m_editTextinhalt"));
    m_editor.m_editTextinhalt->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editor.m_editTextinhalt->setTabChangesFocus(true);
    m_editor.m_editTextinhalt->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editor.m_editTextinhalt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editor.m_btnSpeichern = knopf(QStringLiteral("Artikel speichern"), 375, 18, 68, 15, "m_btnSpeichern");
    m_editor.m_btnNeu = knopf(QStringLiteral("Neuer Artikel"), 303, 18, 68, 15, "m_btnNeu");
    m_editor.m_btnNeu->setDefault(true);
    gruppen << gruppe(QStringLiteral("Artikel Menue"), 297, 6, 152, 54);
    m_editor.m_ctrlDatum = new QDateEdit(this);
    m_editor.m_ctrlDatum->setGeometry(du.rect(174, 14, 113, 14));
    m_editor.m_ctrlDatum->setObjectName(QStringLiteral("m_ctrlDatum"));
    m_editor.m_ctrlDatum->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_editor.m_ctrlDatum->setCalendarPopup(true);
    m_editor.m_ctrlDatum->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    m_btnBeenden = knopf(QStringLiteral("Beenden"), 376, 186, 68, 15, "m_btnBeenden");
    m_editor.m_listeArtikel = new ArtikelListe(this);
    m_editor.m_listeArtikel->setGeometry(du.rect(12, 16, 101, 186));
    m_editor.m_listeArtikel->setObjectName(QStringLiteral("m_listeArtikel"));
    m_editor.m_listeArtikel->setSelectionMode(QAbstractItemView::SingleSelection);
    m_editor.m_btnLoeschen = knopf(QStringLiteral("Artikel löschen"), 375, 39, 68, 15, "m_btnLoeschen");
    m_btnKontrollseite = knopf(QStringLiteral("Kontrollseite"), 376, 162, 68, 15, "m_btnKontrollseite");
    m_btnHomepage = knopf(QStringLiteral("..:: Dorvent ::.."), 303, 186, 68, 15, "m_btnHomepage");
    m_editor.m_btnBearbeiten =
        knopf(QStringLiteral("Artikel bearbeiten"), 303, 39, 68, 15, "m_btnBearbeiten");
    gruppen << gruppe(QStringLiteral("Update Menue"), 297, 146, 152, 64);
    m_btnUpdate = knopf(QStringLiteral("Update Website"), 303, 162, 68, 15, "m_btnUpdate");
    // In the free space under the body's label, so that no control of the template moves.
    m_editor.m_btnBild = knopf(QStringLiteral("Bild\neinfügen…"), 126, 145, 44, 24, "m_btnBild");
    gruppen << gruppe(QStringLiteral("Artikel Details"), 121, 6, 171, 204);
    gruppen << gruppe(QStringLiteral("Artikelauswahl"), 7, 6, 110, 204);
    gruppen << gruppe(QStringLiteral("Ereignis Anzeige"), 7, 213, 283, 59);
    m_ereignis = text(QString(), 20, 226, 267, 33, Qt::AlignLeft);
    m_ereignis->setObjectName(QStringLiteral("m_ereignis"));
    m_ereignis->setWordWrap(true);
    const Qt::Alignment rechts = Qt::AlignRight;
    text(QStringLiteral("Datum : "), 129, 16, 40, 14, rechts);
    text(QStringLiteral("Überschrift : "), 126, 33, 43, 14, rechts);
    text(QStringLiteral("Textinhalt : "), 129, 55, 40, 14, rechts);
    gruppen << gruppe(QStringLiteral("Adresse"), 297, 213, 152, 59);
    text(QStringLiteral(
             "..:: Dorvent ::..\nMusterweg 12\n12345 Musterstadt\nTel. 01234 / 56789-0\nFax 01234 / "
             "56789-9"),
         308, 223, 129, 40, Qt::AlignHCenter);
    text(QStringLiteral("Artikel auf der Vorschau-Seite : "), 305, 72, 101, 10, Qt::AlignLeft);
    m_comboProSeite = new QComboBox(this);
    m_comboProSeite->setGeometry(du.rect(409, 71, 34, 12));
    m_comboProSeite->setObjectName(QStringLiteral("m_comboProSeite"));
    m_comboProSeite->setEditable(true);
    m_comboProSeite->setInsertPolicy(QComboBox::NoInsert);
    m_comboProSeite->setCompleter(nullptr);
    gruppen << gruppe(QStringLiteral("Einstellungen"), 297, 63, 152, 80);
    text(QStringLiteral("FTP Zugangsdaten ändern : "), 301, 113, 101, 10, rechts);
    m_btnFtpZugang = knopf(QStringLiteral("Go"), 409, 111, 34, 12, "m_btnFtpZugang");
    text(QStringLiteral("Stylesheet anpassen : "), 301, 128, 101, 10, rechts);
    m_btnStylesheet = knopf(QStringLiteral("Go"), 409, 127, 34, 12, "m_btnStylesheet");
    text(QStringLiteral("Anzahl der Vorschau-Zeichen : "), 306, 86, 101, 10, Qt::AlignLeft);
    m_comboVorschauZeichen = new QComboBox(this);
    m_comboVorschauZeichen->setGeometry(du.rect(409, 84, 34, 12));
    m_comboVorschauZeichen->setObjectName(QStringLiteral("m_comboVorschauZeichen"));
    m_comboVorschauZeichen->setEditable(true);
    m_comboVorschauZeichen->setEnabled(false);
    text(QStringLiteral(
             "Sollten Sie über HTML-Kenntnisse\nverfügen, können Sie in den Text\nHTML-Tags einfügen!"),
         174, 177, 111, 27, Qt::AlignLeft);
    m_checkDatum = new QCheckBox(QStringLiteral("Datum anzeigen "), this);
    m_checkDatum->setGeometry(du.rect(347, 99, 69, 10));
    m_checkDatum->setObjectName(QStringLiteral("m_checkDatum"));
    m_checkDatum->setLayoutDirection(Qt::RightToLeft);
    // Menu 129 is shown by no window; its commands 130 and 134 reach the dialog as actions.
    m_befehlNeuerArtikel = new QAction(QStringLiteral("Neuer Artikel"), this);
    m_befehlNeuerArtikel->setObjectName(QStringLiteral("m_befehlNeuerArtikel"));
    addAction(m_befehlNeuerArtikel);
    m_befehlUpdate = new QAction(QStringLiteral("Website aktualisieren"), this);
    m_befehlUpdate->setObjectName(QStringLiteral("m_befehlUpdate"));
    addAction(m_befehlUpdate);

    // Group boxes frame the controls; they must not cover them.
    for (QWidget* g : gruppen)
        g->lower();

    // Created states of the template.
    for (QWidget* w :
         {static_cast<QWidget*>(m_editor.m_editUeberschrift),
          static_cast<QWidget*>(m_editor.m_editTextinhalt), static_cast<QWidget*>(m_editor.m_ctrlDatum),
          static_cast<QWidget*>(m_editor.m_btnSpeichern), static_cast<QWidget*>(m_editor.m_btnLoeschen),
          static_cast<QWidget*>(m_editor.m_btnBearbeiten), static_cast<QWidget*>(m_editor.m_btnBild)})
        w->setEnabled(false);

    // Tab order = template order.
    const QList<QWidget*> reihenfolge = {m_editor.m_editUeberschrift,
                                         m_editor.m_editTextinhalt,
                                         m_editor.m_btnBild,
                                         m_editor.m_btnSpeichern,
                                         m_editor.m_btnNeu,
                                         m_editor.m_ctrlDatum,
                                         m_btnBeenden,
                                         m_editor.m_listeArtikel,
                                         m_editor.m_btnLoeschen,
                                         m_btnKontrollseite,
                                         m_btnHomepage,
                                         m_editor.m_btnBearbeiten,
                                         m_btnUpdate,
                                         m_comboProSeite,
                                         m_btnFtpZugang,
                                         m_btnStylesheet,
                                         m_comboVorschauZeichen,
                                         m_checkDatum};
    for (int i = 1; i < reihenfolge.size(); ++i)
        setTabOrder(reihenfolge[i - 1], reihenfolge[i]);
}

namespace {
// Calls zeigen when the user leaves the field or presses Return in it, before the combo box would
// take the typed text as a choice.
class FeldZuruecksetzen : public QObject {
public:
    FeldZuruecksetzen(QObject* parent, std::function<void()> zeigen)
        : QObject(parent)
        , m_zeigen(std::move(zeigen)) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        const bool enter =
            e->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Return ||
                                              static_cast<QKeyEvent*>(e)->key() == Qt::Key_Enter);
        if (enter || e->type() == QEvent::FocusOut)
            m_zeigen();
        return false;
    }

private:
    std::function<void()> m_zeigen;
};
} // namespace

// The command table: every control's notification bound to its one handler.
void VelmaroDlg::BefehleVerbinden() {
    connect(m_editor.m_btnSpeichern, &QPushButton::clicked, &m_editor, &ArtikelEditor::OnArtikelSpeichern);
    connect(m_editor.m_listeArtikel, &ArtikelListe::auswahlGeaendert, &m_editor,
            &ArtikelEditor::OnSelchangeListe);
    connect(m_btnBeenden, &QPushButton::clicked, this, &VelmaroDlg::OnBeenden);
    connect(m_editor.m_btnNeu, &QPushButton::clicked, &m_editor, &ArtikelEditor::OnNeuerArtikel);
    connect(m_editor.m_btnLoeschen, &QPushButton::clicked, &m_editor, &ArtikelEditor::OnArtikelLoeschen);
    connect(m_editor.m_btnBearbeiten, &QPushButton::clicked, &m_editor, &ArtikelEditor::OnArtikelBearbeiten);
    connect(m_btnUpdate, &QPushButton::clicked, this, &VelmaroDlg::OnUpdateWebsite);
    connect(m_btnKontrollseite, &QPushButton::clicked, this, &VelmaroDlg::OnKontrollseite);
    connect(m_editor.m_btnBild, &QPushButton::clicked, &m_editor, &ArtikelEditor::OnBildEinfuegen);
    connect(new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+I")), this), &QShortcut::activated,
            &m_editor, &ArtikelEditor::OnBildEinfuegen);
    connect(m_btnHomepage, &QPushButton::clicked, this, &VelmaroDlg::OnHomepage);
    connect(m_editor.m_listeArtikel, &QListWidget::itemDoubleClicked, &m_editor,
            &ArtikelEditor::OnDblclkListe);
    connect(m_befehlNeuerArtikel, &QAction::triggered, &m_editor, &ArtikelEditor::OnNeuerArtikel);
    connect(m_befehlUpdate, &QAction::triggered, this, &VelmaroDlg::OnUpdateWebsite);
    connect(m_btnFtpZugang, &QPushButton::clicked, this, &VelmaroDlg::OnFtpZugang);
    connect(m_btnStylesheet, &QPushButton::clicked, this, &VelmaroDlg::OnStylesheetAnpassen);
    // activated: only a choice from the list, not text typed into the edit field.
    connect(m_comboProSeite, &QComboBox::activated, this, &VelmaroDlg::OnSelchangeProSeite);
    // The combo box hands some key and focus events to its field directly, past any filter there.
    auto* zuruecksetzen = new FeldZuruecksetzen(m_comboProSeite, [this] { ProSeiteZeigen(); });
    m_comboProSeite->installEventFilter(zuruecksetzen);
    m_comboProSeite->lineEdit()->installEventFilter(zuruecksetzen);
}

void VelmaroDlg::ProSeiteZeigen() {
    const int n = VelmaroZustand::ZahlAusText(m_zustand.m_artikelProSeite);
    const int index = n >= 5 && n <= 9 ? n - 5 : -1;
    if (m_comboProSeite->currentIndex() != index)
        m_comboProSeite->setCurrentIndex(index);
    m_comboProSeite->setEditText(zuUnicode(m_zustand.m_artikelProSeite));
}

void VelmaroDlg::BeschaedigtMelden(Datendatei welche) {
    const char* name = DateiName(welche);
    const auto datei = m_zustand.datenPfad(welche);
    const auto kopie = VelmaroZustand::SicherungAnlegen(datei);
    QString text = QStringLiteral("Die Datei data/%1 konnte nicht vollständig gelesen werden.\n"
                                  "Es wird angezeigt, was vor der beschädigten Stelle stand.\n")
                       .arg(QString::fromLatin1(name));
    if (!kopie.empty())
        text +=
            QStringLiteral("Das Original bleibt als data/%1 erhalten, auch wenn \"Beenden\" die Datei neu "
                           "schreibt.")
                .arg(QString::fromStdString(kopie.filename().string()));
    else
        text += QStringLiteral(
            "Eine Sicherungskopie des Originals konnte nicht angelegt werden; bitte sichern Sie "
            "die Datei selbst, bevor Sie \"Beenden\" wählen.");
    Meldung(this, text, QStringLiteral("Fehler"));
}

void VelmaroDlg::FensterInitialisieren() {
    m_editor.DatenAustausch(false);
    for (const char* n : {"5", "6", "7", "8", "9"})
        m_comboProSeite->addItem(QString::fromLatin1(n));
    m_comboProSeite->setCurrentIndex(-1);
    Ereignisanzeige(Ereignisart::Bereit);

    // Before anything is read: a second window would write back its own older state.
    const Ordnersperre::Ergebnis sperre = m_sperre.Nehmen(m_zustand.datenPfad(Datendatei::Sperre));
    if (sperre == Ordnersperre::Belegt) {
        m_abgelehnt = true;
        Meldung(this,
                QString::fromStdString(BelegtText(m_zustand.m_ordner / "data", m_sperre.haelter())) +
                    QStringLiteral("\nDieses Fenster öffnet nichts, damit dort nichts überschrieben wird. "
                                   "Bitte arbeiten Sie im anderen Fenster weiter."),
                QStringLiteral("Fehler"));
        return;
    }

    m_zustand.ResteEntfernen();
    const auto unlesbarMelden = [this](Datendatei name) {
        const Hinweis h = m_zustand.UnlesbarText(name);
        Meldung(this, QString::fromStdString(h.text), QString::fromStdString(h.titel));
    };
    std::error_code ec;
    const bool ersterStart = !std::filesystem::exists(m_zustand.datenPfad(Datendatei::Daten), ec) && !ec;
    const Ladezustand daten = m_zustand.DatenDateiLesen();
    if (ersterStart) {
        // Without a value the first index page would hold no article; the first entry is chosen,
        // so that "Beenden" stores it.
        m_zustand.m_artikelProSeite = "5";
        ProSeiteZeigen();
    } else if (daten == Ladezustand::Gelesen || daten == Ladezustand::Beschaedigt) {
        ProSeiteZeigen();
        m_editor.ListeFuellen();
        if (daten == Ladezustand::Beschaedigt)
            BeschaedigtMelden(Datendatei::Daten);
    } else if (daten == Ladezustand::Unlesbar) {
        unlesbarMelden(Datendatei::Daten);
    }
    const Ladezustand ftp = m_zustand.FtpDateiLesen();
    if (ftp == Ladezustand::Fehlt)
        Meldung(this, kFtpMeldung, QStringLiteral("Fehler"));
    else if (ftp == Ladezustand::Unlesbar)
        unlesbarMelden(Datendatei::FtpConfig);
    const Ladezustand style = m_zustand.StyleDateiLesen();
    if (style == Ladezustand::Beschaedigt)
        BeschaedigtMelden(Datendatei::StyleConfig);
    else if (style == Ladezustand::Unlesbar)
        unlesbarMelden(Datendatei::StyleConfig);
    m_startSchnappschuss = m_zustand.Schnappschuss();

    SchreibschutzMelden(sperre);
    WiederherstellungAnbieten();
    m_editor.m_aenderungMelden = [this](const Aenderung& a) { AenderungFesthalten(a); };
}

namespace {
// Where the recovery file goes when data/ cannot take it: one file per site folder.
std::filesystem::path ausweichDatei(const std::filesystem::path& daten) {
    const auto ordner = BenutzerZustandsOrdner(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
    if (ordner.empty())
        return {};
    std::error_code ec;
    const auto absolut = std::filesystem::weakly_canonical(std::filesystem::absolute(daten, ec), ec);
    const std::filesystem::path name = DateiName(Datendatei::Wiederherstellung);
    return ordner / (name.stem().string() + "-" + sha256Hex(absolut.string()).substr(0, 16) +
                     name.extension().string());
}
} // namespace

void VelmaroDlg::SchreibschutzMelden(Ordnersperre::Ergebnis sperre) {
    const auto daten = m_zustand.m_ordner / "data";
    m_wiederherstellung.setDatei(m_zustand.datenPfad(Datendatei::Wiederherstellung));
    std::error_code ec;
    std::string grund;
    if (!std::filesystem::is_directory(daten, ec) ||
        (sperre != Ordnersperre::NichtMoeglich && OrdnerBeschreibbar(daten, grund)))
        return;
    if (grund.empty())
        grund = m_sperre.fehlerText();
    QString text = QStringLiteral("In den Ordner data kann nicht geschrieben werden (%1).\n"
                                  "Weder data/%2 noch data/%3 noch data/%4 können in diesem Lauf gespeichert "
                                  "werden.\n")
                       .arg(QString::fromStdString(grund), QString::fromLatin1(DateiName(Datendatei::Daten)),
                            QString::fromLatin1(DateiName(Datendatei::FtpConfig)),
                            QString::fromLatin1(DateiName(Datendatei::StyleConfig)));
    const auto ausweich = ausweichDatei(daten);
    std::string ausweichGrund;
    std::filesystem::create_directories(ausweich.parent_path(), ec);
    if (!ausweich.empty() && OrdnerBeschreibbar(ausweich.parent_path(), ausweichGrund)) {
        m_wiederherstellung.setDatei(ausweich);
        text += QStringLiteral("Ihre Änderungen werden bis dahin in %1 gesichert.")
                    .arg(QString::fromStdString(ausweich.string()));
    } else {
        text += QStringLiteral("Auch eine Sicherung Ihrer Änderungen ist nirgends möglich: was Sie "
                               "eingeben, geht beim Beenden verloren, bis der Ordner beschreibbar ist.");
    }
    Meldung(this, text, QStringLiteral("Fehler"));
}

void VelmaroDlg::WiederherstellungAnbieten() {
    // A read-only data/ may still hold an older one; the fallback place is looked at too.
    for (const auto& datei :
         {m_zustand.datenPfad(Datendatei::Wiederherstellung), ausweichDatei(m_zustand.m_ordner / "data")}) {
        Wiederherstellung alt(datei);
        const auto aenderungen = alt.Lesen();
        if (!aenderungen)
            continue;
        if (aenderungen->empty()) {
            alt.Beiseitelegen();
            continue;
        }
        const Antwort antwort = Frage(
            this,
            QStringLiteral("velmaro wurde beim letzten Mal beendet, ohne alle Änderungen zu speichern.\n"
                           "Gesichert: %1.\n\nMöchten Sie sie übernehmen?")
                .arg(QString::fromStdString(AenderungenBeschreiben(*aenderungen))),
            QStringLiteral("Wiederherstellung"), {Antwort::Uebernehmen, Antwort::AenderungenBeiseite});
        if (antwort != Antwort::Uebernehmen) {
            const auto bak = alt.Beiseitelegen();
            if (bak.empty())
                Meldung(this,
                        QStringLiteral("Die Sicherung %1 konnte nicht beiseitegelegt werden (%2); sie bleibt "
                                       "liegen und wird beim nächsten Start wieder angeboten.")
                            .arg(QString::fromStdString(datei.string()),
                                 QString::fromStdString(alt.fehlerText())),
                        QStringLiteral("Fehler"));
            continue;
        }
        const auto entwurf = AenderungenAnwenden(m_zustand, *aenderungen);
        m_editor.ListeFuellen();
        ProSeiteZeigen();
        std::vector<Aenderung> bleibende;
        for (const Aenderung& a : *aenderungen)
            if (a.art != Aenderung::Art::Entwurf)
                bleibende.push_back(a);
        // Carried on in this run's file; the draft is in the fields now, and saved from there.
        if (datei != m_wiederherstellung.datei()) {
            bool umgezogen = true;
            for (const Aenderung& a : bleibende)
                umgezogen = m_wiederherstellung.Anhaengen(a) && umgezogen;
            if (umgezogen)
                alt.Entfernen();
        } else if (bleibende.size() != aenderungen->size()) {
            m_wiederherstellung.Ersetzen(bleibende);
        }
        if (entwurf)
            m_editor.EntwurfOeffnen(*entwurf);
        return;
    }
}

void VelmaroDlg::AenderungFesthalten(Aenderung a) {
    a.zeit = DateTime::now();
    if (m_wiederherstellung.Anhaengen(a) || m_sicherungGemeldet)
        return;
    m_sicherungGemeldet = true;
    Meldung(this,
            QStringLiteral("Die Änderung konnte nicht in %1 gesichert werden (%2).\nSie ist im Programm; "
                           "mit \"Beenden\" wird sie gespeichert. Bis dahin ginge sie bei einem Absturz "
                           "verloren.")
                .arg(QString::fromStdString(m_wiederherstellung.datei().string()),
                     QString::fromStdString(m_wiederherstellung.fehlerText())),
            QStringLiteral("Fehler"));
}

void VelmaroDlg::SitzungSichern() {
    if (auto entwurf = m_editor.Entwurf())
        AenderungFesthalten(*entwurf);
}

void VelmaroDlg::SitzungBeenden() {
    SitzungSichern();
    // Ends without asking and without writing: the recovery file holds what is unsaved. An open
    // question or settings dialog is closed as Esc would close it, which never discards anything.
    if (m_upload)
        m_upload->Aufgeben();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(w); d && d != this && d->isVisible())
            d->reject();
    QDialog::done(QDialog::Rejected);
}

void VelmaroDlg::Schliessen(bool gespeichert) {
    m_wiederherstellung.Entfernen();
    if (gespeichert)
        accept();
    else
        QDialog::reject();
}

bool VelmaroDlg::BeendenFragen() {
    const bool inArbeit = m_editor.ArtikelInArbeit();
    if (!inArbeit && m_zustand.Schnappschuss() == m_startSchnappschuss) {
        Schliessen(false);
        return false;
    }
    const Antwort antwort = Frage(
        this,
        inArbeit ? QStringLiteral("Der Artikel in den Eingabefeldern ist noch nicht gespeichert.\n"
                                  "Möchten Sie ihn und alle anderen Änderungen vor dem Beenden speichern?")
                 : QStringLiteral("Ihre Änderungen sind noch nicht gespeichert.\n"
                                  "Möchten Sie sie vor dem Beenden speichern?"),
        QStringLiteral("Beenden"), {Antwort::Speichern, Antwort::Verwerfen, Antwort::Zurueck});
    if (antwort == Antwort::Verwerfen) {
        Schliessen(false);
        return false;
    }
    if (antwort != Antwort::Speichern)
        return false;
    if (m_editor.m_bearbeiteterArtikel) {
        m_editor.BearbeitetenArtikelSichern();
    } else if (inArbeit) {
        m_editor.OnArtikelSpeichern();
        // An empty field: its message was shown, and the window stays.
        if (m_editor.m_btnSpeichern->isEnabled())
            return false;
    }
    return true;
}

bool VelmaroDlg::DateienSichern() {
    m_editor.BearbeitetenArtikelSichern();
    if (m_zustand.DatenAufPlatteGeaendert()) {
        const Antwort antwort =
            Frage(this,
                  QStringLiteral("Die Datei data/%1 wurde von einem anderen Programm geändert, seit "
                                 "velmaro sie gelesen hat.\n\n"
                                 "Ja: Ihre Fassung ersetzt sie; die andere bleibt als data/%1.bak erhalten.\n"
                                 "Nein: die andere Fassung bleibt; Ihre wird als data/%1.neu gespeichert.")
                      .arg(QString::fromLatin1(DateiName(Datendatei::Daten))),
                  QStringLiteral("Beenden"), {Antwort::Ja, Antwort::Nein, Antwort::Zurueck});
        if (antwort == Antwort::Zurueck)
            return false;
        const auto datei = m_zustand.datenPfad(Datendatei::Daten);
        std::error_code ec;
        if (antwort == Antwort::Nein)
            m_zustand.DatenNichtErsetzen("sie wurde von einem anderen Programm geändert");
        else if (std::filesystem::exists(datei, ec) && VelmaroZustand::SicherungAnlegen(datei).empty())
            m_zustand.DatenNichtErsetzen("die andere Fassung ließ sich nicht sichern");
    }
    // One message for every file, however many there are.
    QStringList texte;
    bool fehler = false;
    for (const auto& h : m_zustand.DateienSchreiben()) {
        texte << QString::fromStdString(h.text);
        fehler = fehler || h.fehler;
    }
    if (!texte.isEmpty())
        Meldung(this, texte.join(QStringLiteral("\n\n")),
                fehler ? QStringLiteral("Fehler") : QStringLiteral("Hinweis"));
    // What a failed write would lose stays in the window, and in the recovery file.
    return !fehler;
}

void VelmaroDlg::OnBeenden() {
    if (ErstUploadBeenden([this] { OnBeenden(); }))
        return;
    if (m_editor.ArtikelInArbeit() && !BeendenFragen())
        return;
    if (DateienSichern())
        Schliessen(true);
}

void VelmaroDlg::reject() {
    if (ErstUploadBeenden([this] { reject(); }))
        return;
    if (BeendenFragen() && DateienSichern())
        Schliessen(true);
}

void VelmaroDlg::OnInfo() {
    AboutDlg dlgAbout(this, m_zustand.m_ordner);
    dlgAbout.exec();
}

void VelmaroDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Info über velmaro..."), this, &VelmaroDlg::OnInfo);
    // The preview writes output/ as the upload's worker does.
    menu.addAction(QStringLiteral("Vorschau im Browser"), this, &VelmaroDlg::OnVorschau)
        ->setEnabled(!UploadLaeuft());
    // "Update Website" sends only what changed; this sends every file again.
    menu.addAction(QStringLiteral("Alle Dateien neu übertragen"), this,
                   [this] {
                       m_alleSenden = true;
                       OnUpdateWebsite();
                   })
        ->setEnabled(!UploadLaeuft());
    menu.exec(event->globalPos());
}

bool VelmaroDlg::ErstUploadBeenden(std::function<void()> danach) {
    if (!UploadLaeuft())
        return false;
    if (m_nachDemUpload)
        return true;
    const Antwort antwort = Frage(this,
                                  QStringLiteral("Die Website wird gerade übertragen.\n"
                                                 "Soll die Übertragung abgebrochen werden?"),
                                  QStringLiteral("Update Website"), {Antwort::Ja, Antwort::Nein});
    if (antwort == Antwort::Ja) {
        m_nachDemUpload = std::move(danach);
        if (m_fortschritt)
            m_fortschritt->reject();
    }
    return true;
}

namespace {

// Every question whether to trust a server's certificate or host key: the upload's and the
// connection test's.
// A changed identity may be an impostor: its own caption, and Return does not trust it.
bool ServerVertrauenFragen(QWidget* owner, const std::string& text, bool geaendert) {
    const std::string frage =
        geaendert ? "\n\nMöchten Sie dem neuen Fingerabdruck trotzdem vertrauen? Tun Sie das nur, wenn Ihr "
                    "Anbieter den Wechsel angekündigt hat."
                  : "\n\nMöchten Sie diesem Server vertrauen? Der Fingerabdruck wird gespeichert und beim "
                    "nächsten Mal nicht mehr erfragt.";
    return Frage(owner, QString::fromStdString(text + frage),
                 geaendert ? QString::fromUtf8(kIdentitaetGeaendert) : QStringLiteral("Server unbekannt"),
                 {Antwort::Ja, Antwort::Nein}, geaendert ? Antwort::Nein : Antwort::Ja) == Antwort::Ja;
}

// "Verbindung testen" of the FTP dialog, beside it: an unknown or changed server may be trusted at
// once, and is tested again then. Says nothing when the user declined to trust it. Destroyed, it
// gives up at once.
class VerbindungsPruefung : public QObject {
public:
    VerbindungsPruefung(QWidget* owner, std::filesystem::path datei, std::string adresse,
                        std::string benutzer, std::string passwort,
                        std::function<void(const std::string&)> antwort)
        : m_owner(owner)
        , m_datei(std::move(datei))
        , m_adresse(std::move(adresse))
        , m_benutzer(std::move(benutzer))
        , m_passwort(std::move(passwort))
        , m_antwort(std::move(antwort)) {
        if (m_vertrauen.Laden(m_datei)) {
            pruefen();
            return;
        }
        // Answered once the caller holds this object, as every answer is.
        QMetaObject::invokeMethod(
            this, [this] { m_antwort(m_vertrauen.LesefehlerText()); }, Qt::QueuedConnection);
    }

private:
    void pruefen() {
        if (m_auftrag)
            m_auftrag.release()->deleteLater();
        m_auftrag = std::make_unique<VerbindungstestAuftrag>(m_adresse, m_benutzer, m_passwort, m_vertrauen);
        connect(m_auftrag.get(), &VerbindungstestAuftrag::beendet, this,
                [this](const Verbindungstest& t) { beendet(t); });
        m_auftrag->Starten();
    }

    void beendet(const Verbindungstest& t) {
        if (m_zweiterVersuch ||
            (t.art != Fehlerart::IdentitaetUnbekannt && t.art != Fehlerart::IdentitaetGeaendert))
            return m_antwort(t.text);
        if (!ServerVertrauenFragen(m_owner, t.text, t.art == Fehlerart::IdentitaetGeaendert))
            return m_antwort({});
        m_vertrauen.Setzen(t.adresse, t.identitaet.fingerabdruck);
        if (!m_vertrauen.Speichern(m_datei))
            return m_antwort(std::string("Der Fingerabdruck konnte nicht in data/") +
                             DateiName(Datendatei::Vertrauen) +
                             " gespeichert werden: " + m_vertrauen.fehlerText());
        m_zweiterVersuch = true;
        pruefen();
    }

    QWidget* m_owner;
    std::filesystem::path m_datei;
    std::string m_adresse, m_benutzer, m_passwort;
    std::function<void(const std::string&)> m_antwort;
    Vertrauen m_vertrauen;
    std::unique_ptr<VerbindungstestAuftrag> m_auftrag;
    bool m_zweiterVersuch = false;
};

} // namespace

void VelmaroDlg::UploadSperren(bool sperren) {
    if (sperren) {
        m_gesperrt.clear();
        for (QWidget* w :
             {static_cast<QWidget*>(m_editor.m_listeArtikel),
              static_cast<QWidget*>(m_editor.m_editUeberschrift),
              static_cast<QWidget*>(m_editor.m_editTextinhalt), static_cast<QWidget*>(m_editor.m_ctrlDatum),
              static_cast<QWidget*>(m_editor.m_btnSpeichern), static_cast<QWidget*>(m_editor.m_btnNeu),
              static_cast<QWidget*>(m_editor.m_btnLoeschen), static_cast<QWidget*>(m_editor.m_btnBearbeiten),
              static_cast<QWidget*>(m_editor.m_btnBild), static_cast<QWidget*>(m_comboProSeite),
              static_cast<QWidget*>(m_btnUpdate)}) {
            m_gesperrt.emplace_back(w, w->isEnabled());
            w->setEnabled(false);
        }
    } else {
        for (const auto& [w, an] : m_gesperrt)
            w->setEnabled(an);
        m_gesperrt.clear();
    }
    m_befehlNeuerArtikel->setEnabled(!sperren);
    m_befehlUpdate->setEnabled(!sperren);
}

void VelmaroDlg::OnUpdateWebsite() {
    if (UploadLaeuft())
        return;
    UploadSperren(true);
    m_fortschritt = new UploadFortschritt(this, [this] { m_upload->Abbrechen(); });
    m_fortschritt->show();
    // The window stays usable meanwhile; the run uses the values of this moment.
    UploadAuftrag::Daten daten{m_zustand.m_artikelListe,
                               m_zustand.m_artikelProSeite,
                               m_zustand.m_style,
                               m_zustand.m_ftp,
                               m_zustand.ausgabeOrdner(),
                               m_zustand.m_ordner / "data",
                               std::exchange(m_alleSenden, false)};
    m_upload = new UploadAuftrag(std::move(daten), this);
    connect(m_upload, &UploadAuftrag::ereignis, this,
            [this](Ereignisart art) { UploadBericht([this, art] { Ereignisanzeige(art); }); });
    connect(m_upload, &UploadAuftrag::fortschritt, this, [this](const QString& text) {
        UploadBericht([this, text] {
            // Straight onto the control: the event text itself stays what the last event set.
            m_ereignis->setText(text);
            m_fortschritt->AktuelleDatei(text);
        });
    });
    connect(m_upload, &UploadAuftrag::meldung, this, [this](const QString& text, const QString& titel) {
        UploadBericht([this, text, titel] { Meldung(this, text, titel); });
    });
    connect(m_upload, &UploadAuftrag::umfang, this, [this](int dateien) {
        UploadBericht([this, dateien] { m_fortschritt->DateienSetzen(dateien); });
    });
    connect(m_upload, &UploadAuftrag::angekommen, this,
            [this] { UploadBericht([this] { m_fortschritt->DateiGesendet(); }); });
    connect(m_upload, &UploadAuftrag::vertrauenFragen, this, [this](const QString& text, bool geaendert) {
        UploadBericht([this, text, geaendert] {
            m_upload->Antworten(ServerVertrauenFragen(this, text.toStdString(), geaendert));
        });
    });
    connect(m_upload, &UploadAuftrag::beendet, this, [this](const GeneratorErgebnis& erzeugt, bool gesendet) {
        UploadBericht([this, erzeugt, gesendet] { UploadBeendet(erzeugt, gesendet); });
    });
    m_upload->Starten();
}

void VelmaroDlg::UploadBericht(std::function<void()> bericht) {
    m_berichte.push_back(std::move(bericht));
    if (std::exchange(m_berichtLaeuft, true))
        return;
    while (!m_berichte.empty()) {
        const auto naechster = std::move(m_berichte.front());
        m_berichte.pop_front();
        naechster();
    }
    m_berichtLaeuft = false;
}

void VelmaroDlg::UploadBeendet(const GeneratorErgebnis& erzeugt, bool gesendet) {
    m_upload->Abwarten();
    m_upload->deleteLater();
    m_upload = nullptr;
    m_letzterLauf = erzeugt;
    // The keyboard goes back to the window, not to whatever the system picks.
    if (m_fortschritt->isActiveWindow())
        activateWindow();
    delete m_fortschritt;
    m_fortschritt = nullptr;
    if (!erzeugt.fehlendeDateien.empty()) {
        m_ereignisText = QString::fromStdString(UnvollstaendigText(erzeugt));
        m_ereignis->setText(m_ereignisText);
        Meldung(this, QString::fromStdString(ErzeugungsFehlerText(erzeugt)), QStringLiteral("Fehler"));
    } else if (!gesendet) {
        Meldung(this,
                QStringLiteral("Die Übertragung wurde abgebrochen, bevor die erste Datei gesendet "
                               "wurde.\nAuf dem Server hat sich nichts geändert."),
                QStringLiteral("Fehler"));
    }
    UploadSperren(false);
    m_editor.FokusSetzen();
    emit uploadBeendet();
    if (auto danach = std::exchange(m_nachDemUpload, {}))
        danach();
}

void VelmaroDlg::OnSelchangeProSeite() {
    const int index = m_comboProSeite->currentIndex();
    if (index < 0 || m_zustand.m_artikelProSeite == std::to_string(index + 5))
        return;
    m_zustand.m_artikelProSeite = std::to_string(index + 5);
    Aenderung a;
    a.art = Aenderung::Art::ProSeite;
    a.wert = m_zustand.m_artikelProSeite;
    AenderungFesthalten(a);
}

void VelmaroDlg::EinstellungenFesthalten(const std::string& vorher) {
    const std::string ftp = m_zustand.FtpConfigText();
    const std::string stil = m_zustand.DateiInhalt(Datendatei::StyleConfig);
    if (ftp + stil == vorher)
        return;
    Aenderung a;
    a.art = Aenderung::Art::Einstellungen;
    a.wert = ftp;
    a.stil = stil;
    AenderungFesthalten(a);
}

void VelmaroDlg::OnKontrollseite() {
    KontrollseiteOeffnen(this, m_zustand.m_ftp);
}

void VelmaroDlg::OnHomepage() {
    HomepageOeffnen(this);
}

void VelmaroDlg::OnFtpZugang() {
    FtpZugangsdaten& f = m_zustand.m_ftp;
    FTPZugang ftp_zugang(f.name, f.adresse, f.zugangsname, f.passwort, f.website, this);
    ftp_zugang.m_verbindungTest = [this](const std::string& adresse, const std::string& benutzer,
                                         const std::string& passwort, FTPZugang::Testantwort antwort) {
        return std::make_unique<VerbindungsPruefung>(this, m_zustand.datenPfad(Datendatei::Vertrauen),
                                                     adresse, benutzer, passwort, std::move(antwort));
    };
    const std::string vorher = m_zustand.FtpConfigText() + m_zustand.DateiInhalt(Datendatei::StyleConfig);
    ftp_zugang.exec();
    EinstellungenFesthalten(vorher);
}

void VelmaroDlg::OnStylesheetAnpassen() {
    const std::string vorher = m_zustand.FtpConfigText() + m_zustand.DateiInhalt(Datendatei::StyleConfig);
    StyleDlg dlg(m_zustand.m_style, this);
    dlg.exec();
    EinstellungenFesthalten(vorher);
}

} // namespace velmaro
