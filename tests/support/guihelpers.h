#pragma once
// Helpers of the window tests: message boxes answered and recorded instead of shown.

#include "widgets/meldung.h"

#include <QList>
#include <QStringList>

namespace velmaro::test {

// While it lives, every message box is recorded and answered from the queue (OK when empty).
class MeldungsRekorder {
public:
    MeldungsRekorder();
    ~MeldungsRekorder();

    void naechsteAntwort(Antwort a) { m_antworten.append(a); }
    const QList<Nachricht>& nachrichten() const { return m_nachrichten; }
    QStringList texte() const;
    void leeren() { m_nachrichten.clear(); }

private:
    QList<Nachricht> m_nachrichten;
    QList<Antwort> m_antworten;
};

} // namespace velmaro::test
