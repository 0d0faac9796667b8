#include "platform/serveradresse.h"

namespace velmaro {

namespace {

bool istZiffer(char c) {
    return c >= '0' && c <= '9';
}

bool hostZeichen(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || istZiffer(static_cast<char>(c)) || c == '-' ||
           c == '.' || c == '_' || c >= 0x80;
}

// Removes "<name>://" from the front of text, in any case.
bool schemaAbtrennen(std::string& text, const std::string& name) {
    const std::string schema = name + "://";
    if (text.size() < schema.size())
        return false;
    for (std::size_t i = 0; i < schema.size(); ++i)
        if ((text[i] | 0x20) != schema[i])
            return false;
    text.erase(0, schema.size());
    return true;
}

} // namespace

ServerAdresse ServerAdresse::vergleichbar() const {
    ServerAdresse a = *this;
    for (char& c : a.host)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c | 0x20);
    return a;
}

const char* ProtokollName(Protokoll p) {
    switch (p) {
    case Protokoll::Ftps:
        return "ftps";
    case Protokoll::Sftp:
        return "sftp";
    case Protokoll::Ftp:
        break;
    }
    return "ftp";
}

long StandardPort(Protokoll p) {
    return p == Protokoll::Sftp ? 22 : 21;
}

std::optional<Protokoll> ProtokollAusName(const std::string& name) {
    for (Protokoll p : {Protokoll::Ftp, Protokoll::Ftps, Protokoll::Sftp})
        if (name == ProtokollName(p))
            return p;
    return std::nullopt;
}

std::optional<ServerAdresse> AdresseLesen(const std::string& text) {
    ServerAdresse a;
    std::string rest = text;
    if (schemaAbtrennen(rest, "ftps"))
        a.protokoll = Protokoll::Ftps;
    else if (schemaAbtrennen(rest, "sftp"))
        a.protokoll = Protokoll::Sftp;
    else
        schemaAbtrennen(rest, "ftp");
    a.port = StandardPort(a.protokoll);
    if (!rest.empty() && rest.back() == '/')
        rest.pop_back();
    const auto doppelpunkt = rest.find(':');
    a.host = rest.substr(0, doppelpunkt);
    if (a.host.empty())
        return std::nullopt;
    for (unsigned char c : a.host)
        if (!hostZeichen(c))
            return std::nullopt;
    if (doppelpunkt != std::string::npos) {
        const std::string port = rest.substr(doppelpunkt + 1);
        if (port.empty() || port.size() > 5)
            return std::nullopt;
        long p = 0;
        for (char c : port) {
            if (!istZiffer(c))
                return std::nullopt;
            p = p * 10 + (c - '0');
        }
        if (p < 1 || p > 65535)
            return std::nullopt;
        a.port = p;
    }
    return a;
}

bool WebAdresseGueltig(const std::string& text) {
    std::string rest = text;
    if (!schemaAbtrennen(rest, "https") && !schemaAbtrennen(rest, "http"))
        return false;
    // The host's characters and a port only: no user or password.
    if (!AdresseLesen(rest.substr(0, rest.find('/'))))
        return false;
    for (unsigned char c : rest)
        if (c <= ' ' || c == 0x7f || c == '?' || c == '#' || c == '"' || c == '\'' || c == '<' || c == '>' ||
            c == '\\')
            return false;
    return true;
}

std::optional<std::string> WebsiteAdresse(const std::string& website, const std::string& ftpAdresse) {
    if (!website.empty()) {
        if (!WebAdresseGueltig(website))
            return std::nullopt;
        return website.back() == '/' ? website : website + "/";
    }
    // The form the check page was made for: the address without its first six characters ("ftp://").
    if (ftpAdresse.rfind("ftp://", 0) == 0 && ftpAdresse.find_first_of(":@", 6) == std::string::npos)
        return "http://" + ftpAdresse.substr(6) + "/";
    if (const auto a = AdresseLesen(ftpAdresse))
        return "http://" + a->host + "/";
    return std::nullopt;
}

} // namespace velmaro
