#include "publish/upload.h"

#include "platform/cp1252.h"

#include <algorithm>
#include <ostream>
#include <system_error>

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

std::string ergebnisText(int dateien, const std::vector<std::string>& fehlen,
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

const char* UploadEreignisText(int code) {
    static const char* const texte[] = {
        "Verbindung zum Server wird hergestellt!",
        "Daten werden übertragen!",
        "Daten wurden erfolgreich übertragen!\nDie Website kann nun zur Kontrolle betrachtet werden",
        "Daten konnten nicht übertragen werden!\nÜberprüfen Sie Ihre Internetverbindung",
        "Nicht alle Dateien wurden übertragen!\nDie Meldung nennt die fehlenden Dateien; die übrigen sind auf "
        "dem Server",
    };
    return code >= 8 && code <= kTeilweiseUebertragen ? texte[code - 8] : nullptr;
}

void TextBeobachter::Ereignis(int code) {
    // The event line's first line, without its exclamation mark.
    if (const char* text = UploadEreignisText(code))
        m_aus << "velmaro: " << std::string_view(text).substr(0, std::string_view(text).find('!')) << '\n';
}

void TextBeobachter::Meldung(const std::string& text, const std::string& titel) {
    std::string zeilen = text;
    // The connection's messages point at the window's settings dialog; here the settings are a file.
    const std::string fenster = "unter „FTP Zugangsdaten ändern“";
    for (auto pos = zeilen.find(fenster); pos != std::string::npos; pos = zeilen.find(fenster, pos))
        zeilen.replace(pos, fenster.size(), "in data/ftpconfig.bit");
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

std::string NichtGesendetText(const std::string& name) {
    return cp1252::toUtf8(name) + " konnte nicht gesendet werden";
}

std::vector<std::string> UploadDateien(int seiten, int artikel) {
    std::vector<std::string> namen;
    namen.reserve(static_cast<std::size_t>(std::max(0, seiten) + std::max(0, artikel)) + 2);
    namen.push_back(kStylesheetName);
    for (int i = 0; i <= seiten; ++i)
        namen.push_back(SeitenName(i));
    for (int j = 1; j <= artikel; ++j)
        namen.push_back(ArtikelName(j));
    return namen;
}

Upload::Upload(UploadBeobachter& beobachter, std::unique_ptr<InternetSitzung>& sitzung,
               std::unique_ptr<FtpVerbindung>& verbindung, FtpZeitlimits limits)
    : m_beobachter(beobachter)
    , m_sitzung(sitzung)
    , m_verbindung(verbindung)
    , m_limits(limits) {
}

void Upload::Freigeben() {
    m_verbindung.reset();
    m_sitzung.reset();
}

bool Upload::FtpVerbinden(const std::string& name, const std::string& adresse, const std::string& benutzer,
                          const std::string& passwort) {
    // Nothing is reused from an earlier upload.
    Freigeben();
    m_abbruch.reset();
    FtpFehler fehler;
    m_sitzung = InternetSitzung::Oeffnen(name, fehler);
    if (m_sitzung)
        m_verbindung = FtpVerbindung::Oeffnen(*m_sitzung, adresse, benutzer, passwort, fehler, m_limits);
    if (!m_verbindung) {
        m_beobachter.Meldung(verbindungsText(fehler), "Fehler");
        Freigeben();
        return false;
    }
    if (m_verbindung->OrdnerWechseln(kUploadOrdner))
        return true;
    fehler = m_verbindung->letzterFehler();
    m_beobachter.Meldung(fehler.schritt == FtpSchritt::Ordner ? std::string(kOrdnerMeldung)
                                                              : verbindungsText(fehler),
                         "Fehler");
    Freigeben();
    return false;
}

bool Upload::DateiSenden(const std::filesystem::path& lokal, const std::string& name) {
    if (m_verbindung && m_verbindung->DateiSenden(lokal, name)) {
        m_beobachter.DateiGesendet(name);
        return true;
    }
    FtpFehler fehler;
    if (m_verbindung)
        fehler = m_verbindung->letzterFehler();
    else
        fehler = {FtpSchritt::Senden, "Es besteht keine Verbindung zum Server.", {}, true};
    if (fehler.weitereZwecklos)
        m_abbruch = fehler;
    std::string grund = fehler.grund;
    if (!fehler.antwort.empty())
        grund += " Antwort des Servers: " + fehler.antwort;
    m_beobachter.DateiNichtGesendet(name, grund);
    return false;
}

std::vector<std::string>
Upload::GroessenPruefen(const std::vector<std::pair<std::string, std::uint64_t>>& gesendet,
                        bool& ungeprueft) {
    std::vector<std::string> kurz;
    const auto liste = m_verbindung->Groessen();
    for (const auto& [name, soll] : gesendet) {
        std::optional<std::uint64_t> dort;
        if (liste) {
            if (const auto it = liste->find(name); it != liste->end())
                dort = it->second;
        } else {
            dort = m_verbindung->Groesse(name);
            if (!dort) {
                ungeprueft = true;
                break;
            }
        }
        if (dort == soll)
            continue;
        kurz.push_back(name);
        m_beobachter.DateiNichtGesendet(
            name, dort ? "Auf dem Server ist die Datei nur " + std::to_string(*dort) + " von " +
                             std::to_string(soll) + " Bytes groß (ist sein Speicherplatz voll?)."
                       : std::string("Die Datei fehlt nach dem Senden auf dem Server."));
    }
    if (ungeprueft)
        m_beobachter.Meldung("Der Server kann keine Dateigrößen nennen (weder MLSD noch LIST noch SIZE); ob "
                             "alle Dateien vollständig angekommen sind, wurde daher nicht geprüft.",
                             "Hinweis");
    return kurz;
}

UploadErgebnis Upload::DatenUebertragen(const FtpZugangsdaten& ftp,
                                        const std::filesystem::path& ausgabeOrdner,
                                        const GeneratorErgebnis& erzeugt) {
    const std::vector<std::string> dateien = UploadDateien(erzeugt.anzahlSeiten, erzeugt.anzahlArtikel);
    UploadErgebnis ergebnis;
    ergebnis.dateien = static_cast<int>(dateien.size());

    std::vector<std::string> nichtErzeugt;
    for (const auto& pfad : erzeugt.fehlendeDateien)
        nichtErzeugt.push_back(dateiName(pfad));

    m_beobachter.Ereignis(8);
    if (!FtpVerbinden(ftp.name, ftp.adresse, ftp.zugangsname, ftp.passwort)) {
        m_beobachter.Ereignis(11);
        return ergebnis;
    }
    ergebnis.verbunden = true;
    m_beobachter.Ereignis(9);
    std::vector<std::pair<std::string, std::uint64_t>> gesendet;

    for (std::size_t i = 0; i < dateien.size(); ++i) {
        const std::string& name = dateien[i];
        if (!m_abbruch && !ergebnis.abgebrochen && m_beobachter.Abgebrochen())
            ergebnis.abgebrochen = true;
        if (m_abbruch || ergebnis.abgebrochen) {
            m_beobachter.DateiNichtVersucht(name);
            ergebnis.nichtAngekommen.push_back(name);
            continue;
        }
        // The stylesheet goes without a progress text: event 9 stays shown for it.
        if (i > 0)
            m_beobachter.Fortschritt("Übertrage Seite " + cp1252::toUtf8(name));
        if (std::find(nichtErzeugt.begin(), nichtErzeugt.end(), name) != nichtErzeugt.end()) {
            // Sending what an earlier run left there would put an outdated page online.
            m_beobachter.DateiNichtGesendet(name, "Die Datei wurde beim Erzeugen nicht geschrieben.");
            ergebnis.nichtAngekommen.push_back(name);
            continue;
        }
        const auto lokal = ausgabeOrdner / name;
        std::error_code ec;
        const std::uint64_t groesse = std::filesystem::file_size(lokal, ec);
        if (DateiSenden(lokal, name))
            gesendet.emplace_back(name, groesse);
        else
            ergebnis.nichtAngekommen.push_back(name);
    }
    if (!gesendet.empty() && !m_abbruch) {
        const auto kurz = GroessenPruefen(gesendet, ergebnis.ungeprueft);
        for (const auto& [name, groesse] : gesendet)
            if (std::find(kurz.begin(), kurz.end(), name) == kurz.end())
                ++ergebnis.gesendet;
        if (!kurz.empty()) {
            ergebnis.nichtAngekommen.insert(ergebnis.nichtAngekommen.end(), kurz.begin(), kurz.end());
            // The report keeps the order of the upload.
            std::stable_sort(ergebnis.nichtAngekommen.begin(), ergebnis.nichtAngekommen.end(),
                             [&](const std::string& a, const std::string& b) {
                                 return std::find(dateien.begin(), dateien.end(), a) <
                                        std::find(dateien.begin(), dateien.end(), b);
                             });
        }
    } else {
        ergebnis.gesendet = static_cast<int>(gesendet.size());
    }
    Freigeben();

    ergebnis.vollstaendig = ergebnis.nichtAngekommen.empty() && nichtErzeugt.empty();
    if (ergebnis.vollstaendig) {
        m_beobachter.Ereignis(10);
    } else {
        m_beobachter.Meldung(ergebnisText(ergebnis.dateien, ergebnis.nichtAngekommen, m_abbruch,
                                          ergebnis.abgebrochen, nichtErzeugt, m_beobachter.Wiederholen()),
                             "Fehler");
        m_beobachter.Ereignis(ergebnis.gesendet == 0 ? 11 : kTeilweiseUebertragen);
    }
    return ergebnis;
}

} // namespace velmaro
