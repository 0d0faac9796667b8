#pragma once
// Every message box of the program goes through here, so that tests can answer them instead of
// a user: with a hook set, no box is shown and the hook's answer is taken.

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace velmaro {

enum class Antwort {
    Ok,
    Speichern,
    Verwerfen,
    Zurueck,
    Ja,
    Nein,
    Uebernehmen, // changes of an earlier session
    AenderungenBeiseite,
    WeiterSchreiben, // an article being typed
    ArtikelVerwerfen
};

struct Nachricht {
    QString text;
    QString titel;
    QList<Antwort> antworten; // the buttons, in order
    Antwort standard;         // the one Return gives
};

// A box owned by owner with the caption titel, a single OK button and no icon.
void Meldung(QWidget* owner, const QString& text, const QString& titel);
// A box with several answers; Esc and the close box give the last one, Return gives standard
// (the first answer when none is named).
Antwort Frage(QWidget* owner, const QString& text, const QString& titel, const QList<Antwort>& antworten,
              std::optional<Antwort> standard = std::nullopt);

using MeldungsHook = std::function<Antwort(const Nachricht&)>;
// Replaces the boxes (tests); an empty hook shows real boxes again.
void setMeldungsHook(MeldungsHook hook);

} // namespace velmaro
