#pragma once

#include "store/datetime.h"

#include <cassert>
#include <list>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

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

// The blocks and free nodes of one list, shared by the allocator's copies of every node type.
struct KnotenVorrat {
    struct Frei {
        Frei* next;
    };
    std::vector<char*> bloecke;
    Frei* frei = nullptr;
    std::size_t belegt = 0;
    std::size_t groesse = 0;
    void freigeben() {
        for (char* b : bloecke)
            ::operator delete(b);
        bloecke.clear();
        frei = nullptr;
    }
    ~KnotenVorrat() { freigeben(); }
};

// Hands out the list's nodes from blocks of ten and takes them back for reuse; the blocks are
// released when the last node is. Loading a long article file then needs a tenth of the node
// allocations, which were a large part of its time.
template <class T> class KnotenBloecke {
public:
    using value_type = T;
    using propagate_on_container_move_assignment = std::true_type;
    using propagate_on_container_swap = std::true_type;
    using is_always_equal = std::false_type;

    KnotenBloecke() : m_vorrat(std::make_shared<Vorrat>()) {}
    // Copies also serve as moves: a moved-from list must still be able to allocate.
    KnotenBloecke(const KnotenBloecke&) = default;
    KnotenBloecke& operator=(const KnotenBloecke&) = default;
    template <class U> KnotenBloecke(const KnotenBloecke<U>& other) : m_vorrat(other.m_vorrat) {}
    // A copied list gets blocks of its own.
    KnotenBloecke select_on_container_copy_construction() const { return {}; }

    T* allocate(std::size_t n) {
        static_assert(sizeof(T) >= sizeof(Frei) && alignof(T) >= alignof(Frei));
        if (n != 1)
            return static_cast<T*>(::operator new(n * sizeof(T)));
        Vorrat& v = *m_vorrat;
        assert(v.groesse == 0 || v.groesse == sizeof(T));
        v.groesse = sizeof(T);
        if (!v.frei) {
            char* block = static_cast<char*>(::operator new(kProBlock * sizeof(T)));
            v.bloecke.push_back(block);
            for (std::size_t i = kProBlock; i-- > 0;)
                v.frei = new (block + i * sizeof(T)) Frei{v.frei};
        }
        Frei* f = v.frei;
        v.frei = f->next;
        ++v.belegt;
        return reinterpret_cast<T*>(f);
    }
    void deallocate(T* p, std::size_t n) {
        if (n != 1) {
            ::operator delete(p);
            return;
        }
        Vorrat& v = *m_vorrat;
        v.frei = new (p) Frei{v.frei};
        if (--v.belegt == 0)
            v.freigeben();
    }
    template <class U> bool operator==(const KnotenBloecke<U>& other) const {
        return m_vorrat == other.m_vorrat;
    }

private:
    template <class U> friend class KnotenBloecke;
    using Vorrat = KnotenVorrat;
    using Frei = KnotenVorrat::Frei;
    static constexpr std::size_t kProBlock = 10;
    std::shared_ptr<Vorrat> m_vorrat;
};

// The ordered article list. A position names one element and stays valid until that element is
// removed; an empty position is past the tail.
class Artikelliste {
    using Nodes = std::list<Artikel, KnotenBloecke<Artikel>>;

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
