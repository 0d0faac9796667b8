#include "store/wiederherstellung.h"

#include "store/archive.h"
#include "store/datendateien.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace velmaro {

namespace fs = std::filesystem;

namespace {
constexpr std::string_view kKennung = "velmaro-wiederherstellung 1\n";
// A change beyond this is damage, not something a person typed.
constexpr std::uint32_t kAenderungMax = 1u << 30;

std::uint32_t pruefwert(std::string_view bytes) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : bytes)
        h = (h ^ c) * 16777619u;
    return h;
}

void u32Anhaengen(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t u32Lesen(const std::string& s, std::size_t pos) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(s[pos + i])) << (8 * i);
    return v;
}

void artikelSchreiben(Archive& ar, const Artikel& a) {
    ar << a.ueberschrift << a.textinhalt << a.datum;
}

void artikelLesen(Archive& ar, Artikel& a) {
    ar >> a.ueberschrift >> a.textinhalt >> a.datum;
}

// One change framed by its length and a check value, so a cut or garbled tail is recognised.
std::string rahmen(const Aenderung& a) {
    SpeicherDevice inhalt;
    {
        Archive ar(inhalt, Archive::Store);
        ar << static_cast<std::int32_t>(a.art) << a.zeit << static_cast<std::int32_t>(a.mitAlt);
        artikelSchreiben(ar, a.alt);
        artikelSchreiben(ar, a.neu);
        ar << a.wert << a.stil;
        ar.close();
    }
    std::string r;
    u32Anhaengen(r, static_cast<std::uint32_t>(inhalt.bytes().size()));
    r += inhalt.bytes();
    u32Anhaengen(r, pruefwert(inhalt.bytes()));
    return r;
}

bool allesSchreiben(int fd, const std::string& bytes) {
    std::size_t geschrieben = 0;
    while (geschrieben < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + geschrieben, bytes.size() - geschrieben);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        geschrieben += static_cast<std::size_t>(n);
    }
    return true;
}

// The first article equal to a in every field; an empty position when none is.
Artikelliste::Position finden(Artikelliste& liste, const Artikel& a) {
    Artikelliste::Position pos = liste.head();
    while (pos) {
        const Artikelliste::Position hier = pos;
        if (liste.next(pos) == a)
            return hier;
    }
    return {};
}
} // namespace

bool Wiederherstellung::Anhaengen(const Aenderung& a) {
    std::string bytes = rahmen(a);
    // The password of the FTP settings may be in it.
    const int fd = ::open(m_datei.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW,
                          DateiArt(Datendatei::Wiederherstellung).modus);
    if (fd < 0) {
        m_fehler = FehlerUrsache(errno);
        return false;
    }
    struct stat st {};
    const off_t vorher = ::fstat(fd, &st) == 0 ? st.st_size : 0;
    if (vorher == 0)
        bytes.insert(0, kKennung);
    bool ok = allesSchreiben(fd, bytes) && ::fdatasync(fd) == 0;
    if (!ok) {
        m_fehler = FehlerUrsache(errno);
        // A half-written change would hide nothing, but the next one must start on a clean edge.
        if (::ftruncate(fd, vorher) != 0)
            ok = false;
    }
    ::close(fd);
    return ok;
}

std::optional<std::vector<Aenderung>> Wiederherstellung::Lesen() {
    std::string bytes;
    int err = 0;
    if (!readWholeFile(m_datei, bytes, DateiArt(Datendatei::Wiederherstellung).hoechstens, &err)) {
        if (err == ENOENT || err == ENOTDIR)
            return std::nullopt;
        m_fehler = leseGrund(err);
        return std::vector<Aenderung>{};
    }
    std::vector<Aenderung> aenderungen;
    if (bytes.compare(0, kKennung.size(), kKennung) != 0)
        return aenderungen;
    std::size_t pos = kKennung.size();
    while (bytes.size() - pos >= 8) {
        const std::uint32_t laenge = u32Lesen(bytes, pos);
        if (laenge > kAenderungMax || bytes.size() - pos - 8 < laenge)
            break;
        const std::string inhalt = bytes.substr(pos + 4, laenge);
        if (u32Lesen(bytes, pos + 4 + laenge) != pruefwert(inhalt))
            break;
        SpeicherDevice d(inhalt);
        Aenderung a;
        try {
            Archive ar(d, Archive::Load);
            std::int32_t art = 0, mitAlt = 0;
            ar >> art >> a.zeit >> mitAlt;
            artikelLesen(ar, a.alt);
            artikelLesen(ar, a.neu);
            ar >> a.wert >> a.stil;
            if (art < static_cast<std::int32_t>(Aenderung::Art::Neu) ||
                art > static_cast<std::int32_t>(Aenderung::Art::Entwurf))
                break;
            a.art = static_cast<Aenderung::Art>(art);
            a.mitAlt = mitAlt != 0;
        } catch (const std::runtime_error&) {
            break;
        }
        aenderungen.push_back(std::move(a));
        pos += 8 + laenge;
    }
    return aenderungen;
}

bool Wiederherstellung::Ersetzen(const std::vector<Aenderung>& aenderungen) {
    if (aenderungen.empty()) {
        Entfernen();
        return true;
    }
    std::string bytes(kKennung);
    for (const Aenderung& a : aenderungen)
        bytes += rahmen(a);
    return replaceFile(m_datei, bytes, DateiArt(Datendatei::Wiederherstellung).modus, m_fehler);
}

void Wiederherstellung::Entfernen() {
    std::error_code ec;
    fs::remove(m_datei, ec);
}

fs::path Wiederherstellung::Beiseitelegen() {
    std::error_code ec;
    for (int i = 1; i < 1000; ++i) {
        fs::path ziel = m_datei;
        ziel += i == 1 ? std::string(".bak") : ".bak" + std::to_string(i);
        if (fs::exists(ziel, ec))
            continue;
        // Never over an existing copy: link, then drop the old name.
        if (::link(m_datei.c_str(), ziel.c_str()) != 0)
            return {};
        Entfernen();
        return ziel;
    }
    return {};
}

std::optional<Aenderung> AenderungenAnwenden(VelmaroZustand& z, const std::vector<Aenderung>& aenderungen) {
    std::optional<Aenderung> entwurf;
    for (const Aenderung& a : aenderungen) {
        if (a.art != Aenderung::Art::Entwurf)
            entwurf.reset();
        switch (a.art) {
        case Aenderung::Art::Neu:
            z.ArtikelEinfuegen(a.neu);
            break;
        case Aenderung::Art::Geaendert:
        case Aenderung::Art::Geloescht:
            // An article that is no longer there was changed elsewhere; the new text still counts.
            if (const auto pos = finden(z.m_artikelListe, a.alt))
                z.m_artikelListe.removeAt(pos);
            if (a.art == Aenderung::Art::Geaendert)
                z.ArtikelEinfuegen(a.neu);
            break;
        case Aenderung::Art::ProSeite:
            z.m_artikelProSeite = a.wert;
            break;
        case Aenderung::Art::Einstellungen: {
            TextFile ftp;
            ftp.setBytes(a.wert);
            z.FtpConfigLesen(ftp);
            SpeicherDevice stil(a.stil);
            try {
                z.StyleConfigLaden(stil);
            } catch (const std::runtime_error&) {
            }
            break;
        }
        case Aenderung::Art::Entwurf:
            entwurf = a;
            break;
        }
    }
    return entwurf;
}

std::string AenderungenBeschreiben(const std::vector<Aenderung>& aenderungen) {
    std::string text =
        std::to_string(aenderungen.size()) + (aenderungen.size() == 1 ? " Änderung" : " Änderungen");
    if (aenderungen.empty())
        return text;
    CivilTime c;
    if (!toCivil(aenderungen.back().zeit.value, c))
        return text;
    char zeit[8];
    std::snprintf(zeit, sizeof zeit, "%02d:%02d", c.hour % 100, c.minute % 100);
    return text + " vom " + formatDatum(aenderungen.back().zeit) + " " + zeit;
}

} // namespace velmaro
