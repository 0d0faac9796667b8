// The article file daten.bit and the operations on the article list.
#include "store/archive.h"
#include "store/zustand.h"

#include <cctype>
#include <string>

namespace velmaro {

bool VelmaroZustand::DatenLaden(Device& file) {
    Archive ar(file, Archive::Load);
    ar >> m_artikelProSeite;
    // "ARTIKEL" is the longest marker: a longer text there is damage, not read at all.
    constexpr std::size_t kMarkerLaenge = std::char_traits<char>::length(kArtikelMarker);
    std::string marker;
    ar.readShort(marker, kMarkerLaenge);
    while (marker == kArtikelMarker) {
        Artikel a;
        ar >> a.ueberschrift >> a.textinhalt >> a.datum;
        // Moved, not copied: a long list would otherwise pay every body twice.
        m_artikelListe.addTail(std::move(a));
        ar.readShort(marker, kMarkerLaenge);
    }
    // Any other text means the file is damaged there; ending quietly would drop every later article.
    if (marker != kEndeMarker)
        throw ArchiveError(ArchiveError::Damaged);
    ar.close();
    return true;
}

bool VelmaroZustand::DatenSpeichern(Device& file) {
    Archive ar(file, Archive::Store);
    ar << m_artikelProSeite;
    m_position = m_artikelListe.head();
    while (m_position) {
        const Artikel& a = m_artikelListe.at(m_position);
        ar << kArtikelMarker << a.ueberschrift << a.textinhalt << a.datum;
        m_artikelListe.next(m_position);
    }
    ar << kEndeMarker;
    ar.close();
    return true;
}

std::vector<std::string> VelmaroZustand::ListenZeilen() {
    std::vector<std::string> zeilen;
    zeilen.reserve(m_artikelListe.size());
    m_position = m_artikelListe.head();
    while (m_position) {
        const Artikel& a = m_artikelListe.at(m_position);
        zeilen.push_back(formatDatum(a.datum) + " : " + a.ueberschrift);
        m_artikelListe.next(m_position);
    }
    return zeilen;
}

bool VelmaroZustand::ArtikelEinfuegen(const Artikel& neu) {
    m_position = m_artikelListe.head();
    while (m_position) {
        Artikelliste::Position hier = m_position;
        if (isLater(neu.datum, m_artikelListe.next(m_position).datum)) {
            m_artikelListe.insertBefore(hier, neu);
            return true;
        }
    }
    m_artikelListe.addTail(neu);
    return true;
}

int VelmaroZustand::ZahlAusText(const std::string& text) {
    // Like atoi: leading blanks, an optional sign, then the digits.
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negativ = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negativ = text[i++] == '-';
    long long n = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && n < 1000000000)
        n = n * 10 + (text[i++] - '0');
    return static_cast<int>(negativ ? -n : n);
}

} // namespace velmaro
