// The news feed feed.xml: an Atom document of the newest articles, for feed readers.
#include "site/generator.h"

#include "platform/cp1252.h"
#include "store/datetime.h"

#include <QByteArray>
#include <QDateTime>
#include <QUuid>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <vector>

namespace velmaro {

namespace {

constexpr const char* kAtom = "http://www.w3.org/2005/Atom";
// Atom wants a date also where there is none: an empty list, an article without a valid date.
constexpr const char* kKeinDatum = "1970-01-01T00:00:00Z";

// Windows-1252 as UTF-8. The control characters XML 1.0 cannot hold the writer leaves out.
QString xmlText(const std::string& text) {
    return QString::fromStdString(cp1252::toUtf8(text));
}

std::optional<QDateTime> ortszeit(const DateTime& d) {
    CivilTime t;
    if (d.status != DateTime::Valid || !toCivil(d.value, t))
        return std::nullopt;
    const QDateTime zeit(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second), Qt::LocalTime);
    if (!zeit.isValid())
        return std::nullopt;
    return zeit;
}

// RFC 3339 with the offset of local time, in which the dates were typed.
QString rfc3339(const DateTime& d) {
    const auto zeit = ortszeit(d);
    // Local time alone would be written without its offset.
    return zeit ? zeit->toOffsetFromUtc(zeit->offsetFromUtc()).toString(Qt::ISODate)
                : QString::fromLatin1(kKeinDatum);
}

// A name-based id: the same article under the same address keeps it, wherever the list puts it.
QString id(const std::string& name) {
    static const QUuid url(QStringLiteral("6ba7b811-9dad-11d1-80b4-00c04fd430c8"));
    return QStringLiteral("urn:uuid:") +
           QUuid::createUuidV5(url, QByteArray::fromStdString(name)).toString(QUuid::WithoutBraces);
}

// What names an article in its id: the date as typed (no offset, so a new time zone keeps it) and
// the headline.
std::string schluessel(const Artikel& a) {
    CivilTime t;
    const bool datiert = a.datum.status == DateTime::Valid && toCivil(a.datum.value, t);
    char datum[32] = "-";
    if (datiert)
        std::snprintf(datum, sizeof datum, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                      t.minute, t.second);
    return std::string(datum) + "\n" + a.ueberschrift;
}

bool hatSchema(std::string_view wert) {
    if (wert.empty() || !std::isalpha(static_cast<unsigned char>(wert[0])))
        return false;
    for (char c : wert) {
        if (c == ':')
            return true;
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return false;
}

// The address a link value stands for in a page below basis.
std::string absolut(std::string_view wert, std::string_view basis) {
    if (wert.empty() || hatSchema(wert) || wert.starts_with("//") || wert.starts_with('#'))
        return std::string(wert);
    if (wert.starts_with('/')) {
        const std::size_t schema = basis.find("://");
        if (schema == std::string_view::npos)
            return std::string(wert);
        return std::string(basis.substr(0, basis.find('/', schema + 3))) + std::string(wert);
    }
    return std::string(basis) + std::string(wert);
}

} // namespace

std::string LinksAbsolut(std::string_view html, std::string_view basis) {
    std::string out;
    out.reserve(html.size());
    const auto leer = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t i = 0;
    bool imTag = false;
    while (i < html.size()) {
        const char c = html[i];
        if (!imTag) {
            imTag = c == '<' && i + 1 < html.size() && std::isalpha(static_cast<unsigned char>(html[i + 1]));
            out += c;
            ++i;
            continue;
        }
        if (c == '>') {
            imTag = false;
            out += c;
            ++i;
            continue;
        }
        // Another attribute's quoted value: a "href=" or ">" in it is text.
        if (c == '"' || c == '\'') {
            const std::size_t zu = std::min(html.find(c, i + 1), html.size() - 1);
            out += html.substr(i, zu + 1 - i);
            i = zu + 1;
            continue;
        }
        // An attribute name starts after a blank.
        if (!leer(c) || i + 1 >= html.size() || leer(html[i + 1])) {
            out += c;
            ++i;
            continue;
        }
        out += c;
        ++i;
        std::size_t ende = i;
        while (ende < html.size() && std::isalpha(static_cast<unsigned char>(html[ende])))
            ++ende;
        const std::string_view name = html.substr(i, ende - i);
        std::size_t gleich = ende;
        while (gleich < html.size() && leer(html[gleich]))
            ++gleich;
        if (!(GleichOhneGross(name, "src") || GleichOhneGross(name, "href")) || gleich >= html.size() ||
            html[gleich] != '=')
            continue;
        std::size_t anfang = gleich + 1;
        while (anfang < html.size() && leer(html[anfang]))
            ++anfang;
        const char anfuehrung =
            anfang < html.size() && (html[anfang] == '"' || html[anfang] == '\'') ? html[anfang] : 0;
        std::size_t wertAnfang = anfang + (anfuehrung ? 1 : 0);
        std::size_t wertEnde = wertAnfang;
        while (wertEnde < html.size() &&
               (anfuehrung ? html[wertEnde] != anfuehrung : !leer(html[wertEnde]) && html[wertEnde] != '>'))
            ++wertEnde;
        out += html.substr(i, wertAnfang - i);
        out += absolut(html.substr(wertAnfang, wertEnde - wertAnfang), basis);
        i = wertEnde;
    }
    return out;
}

std::string FeedText(const Artikelliste& liste, const std::string& titel, const std::string& adresse) {
    // Without an address the links stay relative to the feed's own place in data/.
    const std::string seite = adresse.empty() ? "../" : adresse;
    const std::string daten = adresse.empty() ? "" : adresse + "data/";

    std::vector<const Artikel*> artikel;
    for (auto it = liste.begin(); it != liste.end() && artikel.size() < kFeedArtikel; ++it)
        artikel.push_back(&*it);
    // Equal date and headline twice: the older one counts from the end of the list, which newer
    // articles never change.
    std::vector<int> spaeter(artikel.size(), 0);
    std::size_t index = liste.size();
    for (auto it = liste.end(); it != liste.begin();) {
        --index;
        --it;
        for (std::size_t k = 0; k < artikel.size() && k < index; ++k)
            if (artikel[k]->datum == it->datum && artikel[k]->ueberschrift == it->ueberschrift)
                ++spaeter[k];
    }
    const Artikel* neuestes = nullptr;
    for (const Artikel* a : artikel)
        if (ortszeit(a->datum) && (!neuestes || isLater(a->datum, neuestes->datum)))
            neuestes = a;

    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QString::fromLatin1(kAtom));
    xml.writeStartElement(QString::fromLatin1(kAtom), QStringLiteral("feed"));
    xml.writeTextElement(QStringLiteral("id"), id(seite));
    xml.writeTextElement(QStringLiteral("title"), xmlText(titel));
    xml.writeTextElement(QStringLiteral("updated"),
                         neuestes ? rfc3339(neuestes->datum) : QString::fromLatin1(kKeinDatum));
    const auto link = [&](const char* rel, const char* typ, const std::string& ziel) {
        xml.writeEmptyElement(QStringLiteral("link"));
        xml.writeAttribute(QStringLiteral("rel"), QString::fromLatin1(rel));
        xml.writeAttribute(QStringLiteral("type"), QString::fromLatin1(typ));
        xml.writeAttribute(QStringLiteral("href"), xmlText(ziel));
    };
    link("alternate", "text/html", seite + "news.php?sitename=data/" + SeitenName(1));
    link("self", "application/atom+xml", daten + kFeedName);
    xml.writeStartElement(QStringLiteral("author"));
    xml.writeTextElement(QStringLiteral("name"), xmlText(titel));
    xml.writeEndElement();
    for (std::size_t k = 0; k < artikel.size(); ++k) {
        const Artikel& a = *artikel[k];
        xml.writeStartElement(QStringLiteral("entry"));
        std::string name = seite + "\n" + schluessel(a);
        if (spaeter[k])
            name += "\n" + std::to_string(spaeter[k]);
        xml.writeTextElement(QStringLiteral("id"), id(name));
        xml.writeStartElement(QStringLiteral("title"));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("text"));
        xml.writeCharacters(xmlText(a.ueberschrift));
        xml.writeEndElement();
        xml.writeTextElement(QStringLiteral("updated"), rfc3339(a.datum));
        // Article numbers follow list order, as the pages number them.
        link("alternate", "text/html",
             daten + "artikel.php?sitename=" + ArtikelName(static_cast<int>(k) + 1));
        xml.writeStartElement(QStringLiteral("content"));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("html"));
        xml.writeCharacters(xmlText(daten.empty() ? a.textinhalt : LinksAbsolut(a.textinhalt, daten)));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes.toStdString();
}

} // namespace velmaro
