#pragma once
// The events of the event display line and their texts, for the window and the batch mode.

namespace velmaro {

enum class Ereignisart {
    Bereit,         // the window has started
    NeuerArtikel,   // "Neuer Artikel" opened the fields
    SeitenErstellt, // "Update Website" writes the pages
    ArtikelGespeichert,
    ArtikelEditiert, // an article was loaded into the fields
    ArtikelGeloescht,
    Verbindungsaufbau,    // the upload connects
    Uebertragung,         // the upload sends
    Uebertragen,          // every file arrived
    NichtUebertragen,     // no file arrived
    TeilweiseUebertragen, // some files arrived, not all
    // Nothing sent: the server refused the connection (421), refused to encrypt the files (PROT P),
    // was not trusted, or no address is set.
    ServerAbweisend,
    VerschluesselungAbgelehnt,
    NichtVertraut,
    KeineAdresse,
};

// The event line's text, UTF-8.
const char* EreignisText(Ereignisart art);

} // namespace velmaro
