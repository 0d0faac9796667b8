#include "guihelpers.h"

namespace velmaro::test {

MeldungsRekorder::MeldungsRekorder() {
    setMeldungsHook([this](const Nachricht& n) {
        m_nachrichten.append(n);
        if (!m_antworten.isEmpty())
            return m_antworten.takeFirst();
        // What Return gives.
        return n.standard;
    });
}

MeldungsRekorder::~MeldungsRekorder() {
    setMeldungsHook({});
}

} // namespace velmaro::test
