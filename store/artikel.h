#pragma once

#include "store/datetime.h"

#include <list>
#include <string>

namespace velmaro {

// The record and end markers of daten.bit: part of the file format, never state.
inline constexpr const char* kArtikelMarker = "ARTIKEL";
inline constexpr const char* kEndeMarker = "ENDE";

// One news article; texts are Windows-1252 bytes.
struct Artikel {
    DateTime datum;
    std::string ueberschrift;
    std::string textinhalt;

    bool operator==(const Artikel&) const = default;
};

// The ordered article list. A position names one element and stays valid until that element is
// removed; an empty position is past the tail.
class Artikelliste {
    using Nodes = std::list<Artikel>;

public:
    class Position {
    public:
        Position() = default;
        explicit operator bool() const { return m_set; }

    private:
        friend class Artikelliste;
        Position(Nodes::iterator it, bool set) : m_it(it), m_set(set) {}
        Nodes::iterator m_it{};
        bool m_set = false;
    };

    Position head() { return m_nodes.empty() ? Position{} : Position{m_nodes.begin(), true}; }
    // The element at pos; pos moves on to the next element. Callers copy what they keep.
    const Artikel& next(Position& pos);
    const Artikel& at(Position pos) const { return *pos.m_it; }
    Position addTail(const Artikel& a);
    Position addTail(Artikel&& a);
    Position insertBefore(Position pos, const Artikel& a);
    void removeAt(Position pos) { m_nodes.erase(pos.m_it); }
    void clear() { m_nodes.clear(); }
    std::size_t size() const { return m_nodes.size(); }
    bool empty() const { return m_nodes.empty(); }

    // Read-only iteration for code that needs no shared position (tests, generators).
    Nodes::const_iterator begin() const { return m_nodes.begin(); }
    Nodes::const_iterator end() const { return m_nodes.end(); }

private:
    Nodes m_nodes;
};

inline const Artikel& Artikelliste::next(Position& pos) {
    const Artikel& a = *pos.m_it;
    auto it = std::next(pos.m_it);
    pos = it == m_nodes.end() ? Position{} : Position{it, true};
    return a;
}

inline Artikelliste::Position Artikelliste::addTail(const Artikel& a) {
    m_nodes.push_back(a);
    return Position{std::prev(m_nodes.end()), true};
}

inline Artikelliste::Position Artikelliste::addTail(Artikel&& a) {
    m_nodes.push_back(std::move(a));
    return Position{std::prev(m_nodes.end()), true};
}

inline Artikelliste::Position Artikelliste::insertBefore(Position pos, const Artikel& a) {
    return Position{m_nodes.insert(pos.m_it, a), true};
}

} // namespace velmaro
