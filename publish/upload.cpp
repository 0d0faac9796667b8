#include "publish/upload.h"

#include "platform/cp1252.h"
#include "publish/sendeplan.h"
#include "publish/zugangsdaten.h"
#include "site/generator.h"
#include "store/bildablage.h"
#include "store/datendateien.h"
#include "store/uebertragen.h"
#include "store/vertrauen.h"

#include <algorithm>
#include <mutex>
#include <ostream>
#include <system_error>
#include <thread>

namespace velmaro {

namespace {

std::string verbindungsText(const FtpFehler& f) {
    const char* kopf = f.schritt == FtpSchritt::Einstellungen
                           ? "Mit diesen FTP-Zugangsdaten kann keine Verbindung aufgebaut werden."
                           : "Die Verbindung zum FTP-Server konnte nicht hergestellt werden.";
    return std::string(kopf) + "\n" + FehlerText(f);
}

std::string dateiName(const std::string& pfad) {
    const auto schraeg = pfad.find_last_of("/\\");
    return schraeg == std::string::npos ? pfad : pfad.substr(schraeg + 1);
}

// Enough names to find the files on the server, not so many that the message outgrows the screen.
constexpr std::size_t kGenannteDateien = 12;

std::string ergebnisText(int dateien, int aktuell, const std::vector<std::string>& fehlen,
                         const std::optional<FtpFehler>& abbruch, bool abgebrochen,
                         const std::vector<std::string>& nichtErzeugt, const std::string& wiederholen) {
    std::string text;
    if (!fehlen.empty()) {
        const bool eine = fehlen.size() == 1;
        text.append(std::to_string(fehlen.size())).append(" von ").append(std::to_string(dateien));
        text.append(dateien == 1 ? " Datei" : " Dateien");
        text.append(eine ? " ist nicht auf dem Server angekommen:"
                         : " sind nicht auf dem Server angekommen:");
        for (std::size_t i = 0; i < fehlen.size() && i < kGenannteDateien; ++i)
            text.append(i ? ", " : " ").append(cp1252::toUtf8(fehlen[i]));
        if (fehlen.size() > kGenannteDateien)
            text.append(" und ").append(std::to_string(fehlen.size() - kGenannteDateien)).append(" weitere");
        text.append(eine ? ".\nAuf dem Server fehlt sie oder ist noch im alten Stand."
                         : ".\nAuf dem Server fehlen sie oder sind noch im alten Stand.");
        if (!wiederholen.empty())
            text.append(" ").append(wiederholen);
    } else {
        text.append(dateien == 1 ? "Die Datei wurde gesendet."
                                 : "Alle " + std::to_string(dateien) + " Dateien wurden gesendet.");
    }
    if (aktuell > 0)
        text.append("\n")
            .append(std::to_string(aktuell))
            .append(" weitere Dateien waren auf dem Server schon aktuell.");
    if (abgebrochen)
        text.append("\nDie Übertragung wurde auf Ihren Wunsch abgebrochen; die übrigen Dateien wurden nicht "
                    "mehr gesendet.");
    if (abbruch) {
        text.append("\nDie Übertragung wurde abgebrochen; die übrigen Dateien wurden nicht mehr versucht.\n");
        text.append(FehlerText(*abbruch));
    }
    if (!nichtErzeugt.empty()) {
        text.append("\nDie Seiten wurden nicht vollständig erzeugt; nicht geschrieben wurden:");
        for (const auto& n : nichtErzeugt)
            text.append(" ").append(cp1252::toUtf8(n));
        text.append(".\nDie Website auf dem Server ist daher nicht vollständig aktualisiert.");
    }
    return text;
}

} // namespace

void UploadBeobachter::DateiGesendet(const std::string&) {
}

void UploadBeobachter::DateiNichtGesendet(const std::string& name, const std::string&) {
    Meldung(NichtGesendetText(name), "");
}

void UploadBeobachter::DateiNichtVersucht(const std::string&) {
}

bool UploadBeobachter::IdentitaetVertrauen(const std::string&, bool) {
    return false;
}

void TextBeobachter::Ereignis(Ereignisart art) {
    // The event line's first line, without its exclamation mark.
    const std::string_view text = EreignisText(art);
    m_aus << "velmaro: " << text.substr(0, text.find('!')) << '\n';
}

void TextBeobachter::Meldung(const std::string& text, const std::string& titel) {
    std::string zeilen = text;
    // The connection's messages point at the window's settings dialog; here the settings are a file.
    const std::string fenster = "unter „FTP Zugangsdaten ändern“";
    for (auto pos = zeilen.find(fenster); pos != std::string::npos; pos = zeilen.find(fenster, pos))
        zeilen.replace(pos, fenster.size(), std::string("in data/") + DateiName(Datendatei::FtpConfig));
    for (auto pos = zeilen.find('\n'); pos != std::string::npos; pos = zeilen.find('\n', pos + 1))
        zeilen.insert(pos + 1, "  ");
    m_aus << "velmaro: " << (titel.empty() ? "" : titel + ": ") << zeilen << "\n";
}

std::string TextBeobachter::Wiederholen() const {
    return "Ein weiterer Aufruf mit --publish wiederholt die Übertragung.";
}

void TextBeobachter::DateiGesendet(const std::string& name) {
    m_aus << "gesendet: " << cp1252::toUtf8(name) << "\n";
}

void TextBeobachter::DateiNichtGesendet(const std::string& name, const std::string& grund) {
    m_aus << "nicht gesendet: " << cp1252::toUtf8(name) << " (" << grund << ")\n";
}

void TextBeobachter::DateiNichtVersucht(const std::string& name) {
    m_aus << "nicht gesendet: " << cp1252::toUtf8(name) << " (nach dem Abbruch nicht mehr versucht)\n";
}

bool TextBeobachter::IdentitaetVertrauen(const std::string& text, bool geaendert) {
    Meldung(text, geaendert ? kIdentitaetGeaendert : "Fehler");
    return false;
}

std::string AktuellText(int aktuell) {
    return "Keine Änderungen: alle " + std::to_string(aktuell) +
           " Dateien sind auf dem Server schon aktuell, es wurde nichts übertragen.";
}

std::string EntferntText(int entfernt) {
    return std::to_string(entfernt) + (entfernt == 1 ? " alte Seite" : " alte Seiten") +
           " vom Server entfernt";
}

std::string NichtGesendetText(const std::string& name) {
    return cp1252::toUtf8(name) + " konnte nicht gesendet werden";
}

Upload::Upload(UploadBeobachter& beobachter, std::unique_ptr<Serververbindung>& verbindung,
               std::filesystem::path datenOrdner, FtpZeitlimits limits)
    : m_beobachter(beobachter)
    , m_verbindung(verbindung)
    , m_datenOrdner(std::move(datenOrdner))
    , m_limits(limits) {
}

void Upload::Freigeben() {
    m_verbindung.reset();
}

namespace {
Ereignisart fehlerEreignis(Fehlerart art) {
    switch (art) {
    case Fehlerart::ServerAbweisend:
        return Ereignisart::ServerAbweisend;
    case Fehlerart::VerschluesselungAbgelehnt:
        return Ereignisart::VerschluesselungAbgelehnt;
    case Fehlerart::IdentitaetUnbekannt:
    case Fehlerart::IdentitaetGeaendert:
        return Ereignisart::NichtVertraut;
    default:
        return Ereignisart::NichtUebertragen;
    }
}

// The names velmaro gives the files of a site; nothing else is ever removed from the server.
bool seitenName(const std::string& name) {
    if (name == kStylesheetName || name == kFeedName)
        return true;
    const std::string bilder = std::string(kBilderOrdner) + "/";
    if (name.rfind(bilder, 0) == 0)
        return BildNameGueltig(std::string_view(name).substr(bilder.size()));
    for (const std::string kopf : {"inhalt", "artikel"}) {
        if (name.rfind(kopf, 0) != 0 || name.size() <= kopf.size() + 4 ||
            name.compare(name.size() - 4, 4, ".php") != 0)
            continue;
        const std::string zahl = name.substr(kopf.size(), name.size() - kopf.size() - 4);
        if (zahl.size() <= 9 &&
            std::all_of(zahl.begin(), zahl.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return true;
    }
    return false;
}

// The connection is gone, not the server's will: another connection may send its file.
bool verloren(Fehlerart art) {
    return art == Fehlerart::Abgebrochen || art == Fehlerart::Zeitueberschreitung ||
           art == Fehlerart::ServerAbweisend || art == Fehlerart::DatenverbindungFehlt;
}
} // namespace

bool Upload::FtpVerbinden(const Serverzugang& zugang) {
    // Nothing is reused from an earlier upload.
    Freigeben();
    m_abbruch.reset();
    m_abgelehnt.reset();
    m_zugang.reset();
    m_verbindungsFehler = Fehlerart::Einstellungen;
    const ServerAdresse& adresse = zugang.adresse;
    Vertrauen vertrauen;
    const auto datei = m_datenOrdner / DateiName(Datendatei::Vertrauen);
    // Plain FTP has no identity to check.
    if (adresse.protokoll != Protokoll::Ftp && !m_datenOrdner.empty() && !vertrauen.Laden(datei)) {
        m_beobachter.Meldung(vertrauen.LesefehlerText(), "Fehler");
        Freigeben();
        return false;
    }
    // A second round only after the user trusted what the first one was shown.
    for (int runde = 0; runde < 2; ++runde) {
        FtpFehler fehler;
        Serverzugang z = zugang;
        z.vertraut = vertrauen.Fingerabdruck(adresse).value_or(std::string());
        z.limits = m_limits;
        auto v = Serververbindung::Oeffnen(z, fehler);
        if (!v) {
            m_beobachter.Meldung(verbindungsText(fehler), "Fehler");
            break;
        }
        if (m_passiv)
            v->PassivSetzen();
        v->AufgebenWenn(m_aufgeben);
        if (v->OrdnerWechseln(kUploadOrdner)) {
            m_zugang = z;
            m_verbindung = std::move(v);
            m_verbindungsFehler = Fehlerart::Keiner;
            return true;
        }
        const Fehlerart art = v->letzteFehlerart();
        m_verbindungsFehler = art;
        if (art != Fehlerart::IdentitaetUnbekannt && art != Fehlerart::IdentitaetGeaendert) {
            fehler = v->letzterFehler();
            m_beobachter.Meldung(
                art == Fehlerart::Ordner ? std::string(kOrdnerMeldung) : verbindungsText(fehler), "Fehler");
            break;
        }
        const ServerIdentitaet id = v->identitaet();
        v.reset();
        if (runde > 0 || !m_beobachter.IdentitaetVertrauen(IdentitaetText(id, adresse.protokoll),
                                                           art == Fehlerart::IdentitaetGeaendert)) {
            m_abgelehnt = id;
            break;
        }
        vertrauen.Setzen(adresse, id.fingerabdruck);
        if (!m_datenOrdner.empty() && !vertrauen.Speichern(datei))
            m_beobachter.Meldung(std::string("Der Fingerabdruck konnte nicht in data/") +
                                     DateiName(Datendatei::Vertrauen) + " gespeichert werden (" +
                                     vertrauen.fehlerText() + "); beim nächsten Mal wird wieder gefragt.",
                                 "Hinweis");
    }
    Freigeben();
    return false;
}

// One upload's files and what became of them, shared by the connections sending them.
struct Upload::Lauf {
    enum class Stand { Offen, Laeuft, Gesendet, Fehler, Ausgelassen };
    struct Posten {
        std::string name;
        std::uint64_t groesse = 0;
        std::string sha256;
        Stand stand = Stand::Offen;
        std::string grund;
    };
    std::filesystem::path ausgabeOrdner;
    std::vector<Posten> posten;       // in upload order
    std::mutex sperre;                // guards everything here and every observer call
    std::size_t naechster = 0;        // the next file not yet taken
    std::vector<std::size_t> zurueck; // given back by a connection that broke
    std::size_t gemeldet = 0;         // outcomes reported so far, in order
    bool abgebrochen = false;
    int sendend = 0; // connections taking files now
    bool ersteVerloren = false;
    // Every file is taken: connections still logging in are not needed.
    std::atomic<bool> vergeben{false};
    bool fremdGemeldet = false;

    // Reports every outcome that no earlier file still waits for.
    void melden(UploadBeobachter& b) {
        for (; gemeldet < posten.size(); ++gemeldet) {
            const Posten& p = posten[gemeldet];
            if (p.stand == Stand::Gesendet)
                b.DateiGesendet(p.name);
            else if (p.stand == Stand::Fehler)
                b.DateiNichtGesendet(p.name, p.grund);
            else if (p.stand == Stand::Ausgelassen)
                b.DateiNichtVersucht(p.name);
            else
                break;
        }
    }
};

std::unique_ptr<Serververbindung> Upload::weitereVerbindung(const std::atomic<bool>* aufgeben) {
    FtpFehler fehler;
    Serverzugang zugang = *m_zugang;
    zugang.limits.verbinden = std::min(zugang.limits.verbinden, std::chrono::seconds(5));
    auto v = Serververbindung::Oeffnen(zugang, fehler);
    if (!v)
        return nullptr;
    if (m_passiv)
        v->PassivSetzen();
    v->AufgebenWenn(aufgeben);
    const bool ok = v->OrdnerWechseln(kUploadOrdner);
    v->AufgebenWenn(m_aufgeben);
    const Fehlerart art = v->letzteFehlerart();
    if (!ok && art != Fehlerart::IdentitaetGeaendert && art != Fehlerart::IdentitaetUnbekannt)
        v.reset();
    return v;
}

void Upload::senden(Lauf& lauf, Serververbindung& v, bool erste) {
    using Stand = Lauf::Stand;
    bool passiv = m_passiv;
    {
        std::lock_guard<std::mutex> lock(lauf.sperre);
        ++lauf.sendend;
    }
    for (;;) {
        std::size_t i = 0;
        {
            std::lock_guard<std::mutex> lock(lauf.sperre);
            const auto ende = [&] { --lauf.sendend; };
            if (m_abbruch || lauf.abgebrochen)
                return ende();
            if (m_beobachter.Abgebrochen()) {
                lauf.abgebrochen = true;
                return ende();
            }
            if (m_passiv && !passiv) {
                v.PassivSetzen();
                passiv = true;
            }
            if (!lauf.zurueck.empty()) {
                i = lauf.zurueck.back();
                lauf.zurueck.pop_back();
            } else {
                while (lauf.naechster < lauf.posten.size() &&
                       lauf.posten[lauf.naechster].stand != Stand::Offen)
                    ++lauf.naechster;
                if (lauf.naechster == lauf.posten.size()) {
                    lauf.vergeben = true;
                    return ende();
                }
                i = lauf.naechster++;
            }
            lauf.posten[i].stand = Stand::Laeuft;
            // The stylesheet goes without a progress text: event 9 stays shown for it.
            if (lauf.posten[i].name != kStylesheetName)
                m_beobachter.Fortschritt("Übertrage Seite " + cp1252::toUtf8(lauf.posten[i].name));
        }
        Lauf::Posten& p = lauf.posten[i];
        const bool ok = v.DateiSenden(lauf.ausgabeOrdner / p.name, p.name);
        std::lock_guard<std::mutex> lock(lauf.sperre);
        if (ok) {
            p.stand = Stand::Gesendet;
            m_beobachter.Angekommen();
        } else {
            const FtpFehler& fehler = v.letzterFehler();
            const Fehlerart art = v.letzteFehlerart();
            if (art == Fehlerart::DatenverbindungFehlt && !passiv) {
                // Passive mode from now on, for every connection and the next uploads.
                m_passiv = true;
                p.stand = Stand::Offen;
                lauf.zurueck.push_back(i);
                continue;
            }
            if (verloren(art) && lauf.sendend > 1) {
                // Only this connection is lost: the others send its file and the rest.
                p.stand = Stand::Offen;
                lauf.zurueck.push_back(i);
                --lauf.sendend;
                lauf.ersteVerloren = lauf.ersteVerloren || erste;
                return;
            }
            if (fehler.weitereZwecklos)
                m_abbruch = fehler;
            p.stand = Stand::Fehler;
            p.grund = fehler.grund;
            if (!fehler.antwort.empty())
                p.grund += " Antwort des Servers: " + fehler.antwort;
        }
        lauf.melden(m_beobachter);
    }
}

std::optional<std::map<std::string, std::uint64_t>>
Upload::ServerGroessen(const std::vector<std::string>& namen, bool& keineGroessen) {
    keineGroessen = false;
    auto liste = m_verbindung->Groessen();
    if (!liste && m_verbindung->letzteFehlerart() == Fehlerart::DatenverbindungFehlt && !m_passiv) {
        m_passiv = true;
        m_verbindung->PassivSetzen();
        liste = m_verbindung->Groessen();
    }
    if (m_verbindung->letzteFehlerart() == Fehlerart::ListeZuGross)
        return liste;
    // The pictures' folder is listed from inside it, and so made when missing, listing or not.
    const std::string bilder = std::string(kBilderOrdner) + "/";
    bool unvollstaendig = !liste;
    if (liste &&
        std::any_of(namen.begin(), namen.end(), [&](const auto& n) { return n.rfind(bilder, 0) == 0; })) {
        std::optional<std::map<std::string, std::uint64_t>> unten;
        if (m_verbindung->OrdnerWechseln(kUploadOrdner + ("/" + std::string(kBilderOrdner))))
            unten = m_verbindung->Groessen();
        if (!m_verbindung->OrdnerWechseln(kUploadOrdner))
            return std::nullopt;
        if (unten)
            for (const auto& [name, groesse] : *unten)
                liste->emplace(bilder + name, groesse);
        unvollstaendig = !unten;
    }
    if (!unvollstaendig)
        return liste;
    // No listing to be had: each file's size by itself.
    if (!liste) {
        liste.emplace();
        keineGroessen = true;
    }
    for (const auto& name : namen)
        if (!liste->contains(name))
            if (const auto groesse = m_verbindung->Groesse(name)) {
                (*liste)[name] = *groesse;
                keineGroessen = false;
            }
    return liste;
}

std::vector<std::string>
Upload::GroessenPruefen(const std::vector<std::pair<std::string, std::uint64_t>>& gesendet,
                        bool& ungeprueft) {
    std::vector<std::string> kurz, namen;
    for (const auto& [name, soll] : gesendet)
        namen.push_back(name);
    const auto liste = ServerGroessen(namen, ungeprueft);
    ungeprueft = ungeprueft || !liste;
    if (ungeprueft) {
        m_beobachter.Meldung("Der Server kann keine Dateigrößen nennen (weder MLSD noch LIST noch SIZE); ob "
                             "alle Dateien vollständig angekommen sind, wurde daher nicht geprüft.",
                             "Hinweis");
        return kurz;
    }
    for (const auto& [name, soll] : gesendet) {
        std::optional<std::uint64_t> dort;
        if (const auto it = liste->find(name); it != liste->end())
            dort = it->second;
        if (dort == soll)
            continue;
        kurz.push_back(name);
        m_beobachter.DateiNichtGesendet(
            name, dort ? "Auf dem Server ist die Datei nur " + std::to_string(*dort) + " von " +
                             std::to_string(soll) + " Bytes groß (ist sein Speicherplatz voll?)."
                       : std::string("Die Datei fehlt nach dem Senden auf dem Server."));
    }
    return kurz;
}

int Upload::altesEntfernen(Uebertragen& record, const std::vector<std::string>& dateien,
                           const std::map<std::string, std::uint64_t>& dort) {
    int entfernt = 0;
    for (auto it = record.dateien.begin(); it != record.dateien.end();) {
        const std::string& name = it->first;
        if (std::find(dateien.begin(), dateien.end(), name) != dateien.end() || !seitenName(name)) {
            ++it;
            continue;
        }
        const auto d = dort.find(name);
        if (d == dort.end() || d->second != it->second.groesse) {
            // Gone, or replaced by someone else: no longer velmaro's to remove.
            it = record.dateien.erase(it);
            continue;
        }
        if (!m_verbindung->DateiLoeschen(name)) {
            ++it;
            continue;
        }
        ++entfernt;
        it = record.dateien.erase(it);
    }
    return entfernt;
}

UploadErgebnis Upload::DatenUebertragen(const FtpZugangsdaten& ftp,
                                        const std::filesystem::path& ausgabeOrdner,
                                        const GeneratorErgebnis& erzeugt) {
    using Stand = Lauf::Stand;
    const std::vector<std::string>& dateien = erzeugt.dateien;
    UploadErgebnis ergebnis;
    ergebnis.dateien = static_cast<int>(dateien.size());

    std::vector<std::string> nichtErzeugt;
    for (const auto& pfad : erzeugt.fehlendeDateien)
        nichtErzeugt.push_back(dateiName(pfad));
    const auto nichtGeschrieben = [&](const std::string& name) {
        return std::find(nichtErzeugt.begin(), nichtErzeugt.end(), name) != nichtErzeugt.end();
    };

    // The record of what the server holds; without a data folder (a test, the benchmark) none.
    const auto recordDatei = m_datenOrdner / DateiName(Datendatei::Uebertragen);
    std::error_code ec;
    const bool mitRecord = !m_datenOrdner.empty() && std::filesystem::is_directory(m_datenOrdner, ec);
    FtpFehler zugangsFehler;
    Fehlerart zugangsArt = Fehlerart::Keiner;
    const auto zugang = ZugangLesen(ftp, zugangsFehler, zugangsArt);
    const std::string server = zugang ? zugang->schluessel() : std::string();
    Uebertragen record;
    if (mitRecord && !record.Laden(recordDatei))
        m_beobachter.Meldung(record.fehlerText(), "Hinweis");
    if (record.server != server)
        record = {server, false, {}};
    m_passiv = record.passiv;
    const auto festhalten = [&] {
        record.passiv = m_passiv;
        if (!mitRecord || record.Speichern(recordDatei))
            return true;
        m_beobachter.Meldung(
            std::string("Welche Dateien auf dem Server sind, konnte nicht in data/") +
                DateiName(Datendatei::Uebertragen) + " festgehalten werden (" + record.fehlerText() +
                (record.entfernt() ? "); beim nächsten Mal wird alles noch einmal gesendet."
                                   : "); auch das Löschen der alten Aufzeichnung ging nicht."),
            "Hinweis");
        return record.entfernt();
    };

    m_beobachter.Ereignis(Ereignisart::Verbindungsaufbau);
    if (!zugang) {
        m_beobachter.Meldung(verbindungsText(zugangsFehler), "Fehler");
        Freigeben();
        m_beobachter.Ereignis(zugangsArt == Fehlerart::KeineAdresse ? Ereignisart::KeineAdresse
                                                                    : Ereignisart::NichtUebertragen);
        return ergebnis;
    }
    if (!FtpVerbinden(*zugang)) {
        ergebnis.abgelehnt = m_abgelehnt;
        m_beobachter.Ereignis(fehlerEreignis(m_verbindungsFehler));
        return ergebnis;
    }
    ergebnis.verbunden = true;
    m_beobachter.Ereignis(Ereignisart::Uebertragung);

    // What changed since the last confirmed upload, and what the server holds now.
    std::vector<LokaleDatei> lokal;
    std::vector<std::string> gefragt;
    for (const auto& name : dateien)
        if (!nichtGeschrieben(name)) {
            lokal.push_back({name, dateiPruefsumme(ausgabeOrdner / name).value_or(DateiPruefsumme{})});
            gefragt.push_back(name);
        }
    for (const auto& [name, eintrag] : record.dateien)
        if (std::find(dateien.begin(), dateien.end(), name) == dateien.end())
            gefragt.push_back(name);
    bool keineGroessen = false;
    const auto dort = ServerGroessen(gefragt, keineGroessen);
    if (!dort) {
        m_beobachter.Meldung(FehlerText(m_verbindung->letzterFehler()), "Fehler");
        Freigeben();
        m_beobachter.Ereignis(Ereignisart::NichtUebertragen);
        return ergebnis;
    }
    const Sendeplan plan = SendeplanErstellen(lokal, record, server, *dort, m_alle);
    ergebnis.aktuell = static_cast<int>(plan.aktuell.size());

    // Pages the generator could not write keep their copies on the server and are reported in order.
    Lauf lauf;
    lauf.ausgabeOrdner = ausgabeOrdner;
    for (const auto& name : dateien) {
        if (nichtGeschrieben(name)) {
            lauf.posten.push_back(
                {name, 0, {}, Stand::Fehler, "Die Datei wurde beim Erzeugen nicht geschrieben."});
            continue;
        }
        if (std::find(plan.senden.begin(), plan.senden.end(), name) == plan.senden.end())
            continue;
        const auto& summe =
            std::find_if(lokal.begin(), lokal.end(), [&](const auto& l) { return l.name == name; })->summe;
        lauf.posten.push_back({name, summe.groesse, summe.sha256, Stand::Offen, {}});
        // Whatever happens from here on, the record no longer claims this file until confirmed.
        record.dateien.erase(name);
    }
    ergebnis.zuSenden = static_cast<int>(lauf.posten.size());
    if (!plan.senden.empty() && !festhalten()) {
        // A record that can be neither written nor removed would claim files never confirmed.
        Freigeben();
        m_beobachter.Ereignis(Ereignisart::NichtUebertragen);
        return ergebnis;
    }
    m_beobachter.Umfang(ergebnis.zuSenden, ergebnis.aktuell);

    // The extra connections log in while the first one already sends.
    std::vector<std::thread> weitere;
    const int extra = std::min(m_anzahlVerbindungen, static_cast<int>(plan.senden.size())) - 1;
    for (int n = 0; n < extra; ++n)
        weitere.emplace_back([this, &lauf] {
            auto v = weitereVerbindung(&lauf.vergeben);
            if (!v)
                return;
            if (v->letzteFehlerart() == Fehlerart::IdentitaetGeaendert ||
                v->letzteFehlerart() == Fehlerart::IdentitaetUnbekannt) {
                // Another machine answers in the trusted server's place: said once, never used.
                std::lock_guard<std::mutex> lock(lauf.sperre);
                if (!std::exchange(lauf.fremdGemeldet, true))
                    m_beobachter.Meldung("Eine weitere Verbindung zum Server traf auf einen anderen Rechner; "
                                         "über sie wurde nichts gesendet.\n" +
                                             IdentitaetText(v->identitaet(), m_zugang->adresse.protokoll),
                                         kIdentitaetGeaendert);
                return;
            }
            senden(lauf, *v, false);
        });
    senden(lauf, *m_verbindung, true);
    for (auto& t : weitere)
        t.join();
    // Files an extra connection gave back after the first had finished.
    if (!lauf.ersteVerloren)
        senden(lauf, *m_verbindung, true);
    for (auto& p : lauf.posten)
        if (p.stand == Stand::Offen)
            p.stand = Stand::Ausgelassen;
    lauf.melden(m_beobachter);
    ergebnis.abgebrochen = lauf.abgebrochen;
    ergebnis.fremdeIdentitaet = lauf.fremdGemeldet;

    // The sizes are confirmed over a connection that still stands.
    if (lauf.ersteVerloren && !m_abbruch) {
        m_verbindung = weitereVerbindung(nullptr);
    }
    std::vector<std::pair<std::string, std::uint64_t>> gesendet;
    for (const auto& p : lauf.posten) {
        if (p.stand == Stand::Gesendet)
            gesendet.emplace_back(p.name, p.groesse);
        else
            ergebnis.nichtAngekommen.push_back(p.name);
    }
    std::vector<std::string> kurz;
    const bool pruefbar = !gesendet.empty() && !m_abbruch && m_verbindung;
    if (pruefbar)
        kurz = GroessenPruefen(gesendet, ergebnis.ungeprueft);
    // Only a size the server confirmed enters the record.
    for (const auto& p : lauf.posten) {
        if (p.stand != Stand::Gesendet)
            continue;
        if (std::find(kurz.begin(), kurz.end(), p.name) != kurz.end())
            continue;
        ++ergebnis.gesendet;
        if (pruefbar && !ergebnis.ungeprueft)
            record.dateien[p.name] = {p.groesse, p.sha256};
    }
    if (!kurz.empty()) {
        ergebnis.nichtAngekommen.insert(ergebnis.nichtAngekommen.end(), kurz.begin(), kurz.end());
        // The report keeps the order of the upload.
        std::stable_sort(ergebnis.nichtAngekommen.begin(), ergebnis.nichtAngekommen.end(),
                         [&](const std::string& a, const std::string& b) {
                             return std::find(dateien.begin(), dateien.end(), a) <
                                    std::find(dateien.begin(), dateien.end(), b);
                         });
    }
    ergebnis.vollstaendig = ergebnis.nichtAngekommen.empty() && nichtErzeugt.empty();
    // Old pages leave only once the new site is whole on the server: until then its index pages
    // may still link to them.
    if (ergebnis.vollstaendig && m_verbindung && !keineGroessen)
        ergebnis.entfernt = altesEntfernen(record, dateien, *dort);
    if (!lauf.posten.empty() || ergebnis.entfernt > 0 || record.passiv != m_passiv)
        festhalten();
    Freigeben();

    if (ergebnis.vollstaendig) {
        m_beobachter.Ereignis(Ereignisart::Uebertragen);
        if (ergebnis.zuSenden == 0)
            m_beobachter.Fortschritt(AktuellText(ergebnis.aktuell));
        if (ergebnis.entfernt > 0)
            m_beobachter.Fortschritt(EntferntText(ergebnis.entfernt));
    } else {
        m_beobachter.Meldung(ergebnisText(ergebnis.zuSenden, ergebnis.aktuell, ergebnis.nichtAngekommen,
                                          m_abbruch, ergebnis.abgebrochen, nichtErzeugt,
                                          m_beobachter.Wiederholen()),
                             "Fehler");
        m_beobachter.Ereignis(ergebnis.gesendet == 0 ? Ereignisart::NichtUebertragen
                                                     : Ereignisart::TeilweiseUebertragen);
    }
    return ergebnis;
}

} // namespace velmaro
