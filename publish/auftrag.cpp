#include "publish/auftrag.h"

#include <QMetaMethod>
#include <QThread>

namespace velmaro {

Auftrag::Auftrag(QObject* parent) : QObject(parent) {
}

Auftrag::~Auftrag() {
    // The subclasses have waited already: their members are what the thread uses.
    Abwarten();
}

void Auftrag::Aufgeben() {
    m_aufgeben = true;
}

void Auftrag::Abwarten() {
    if (m_thread)
        m_thread->wait();
}

void Auftrag::Starten(std::function<void()> arbeit) {
    m_thread = QThread::create(std::move(arbeit));
    m_thread->setParent(this);
    m_thread->start();
}

// The upload's reports, turned into signals; called on the job's thread.
class UploadAuftrag::Beobachter : public UploadBeobachter {
public:
    explicit Beobachter(UploadAuftrag& auftrag) : m_auftrag(auftrag) {}

    void Ereignis(Ereignisart art) override { emit m_auftrag.ereignis(art); }
    void Fortschritt(const std::string& text) override {
        emit m_auftrag.fortschritt(QString::fromStdString(text));
    }
    void Meldung(const std::string& text, const std::string& titel) override {
        emit m_auftrag.meldung(QString::fromStdString(text), QString::fromStdString(titel));
    }
    void Angekommen() override { emit m_auftrag.angekommen(); }
    void Umfang(int zuSenden, int) override { emit m_auftrag.umfang(zuSenden); }
    bool Abgebrochen() override { return m_auftrag.m_abbrechen; }
    std::string Wiederholen() const override {
        return "Mit „Update Website“ können Sie die Übertragung wiederholen.";
    }
    bool IdentitaetVertrauen(const std::string& text, bool geaendert) override {
        return m_auftrag.fragen(text, geaendert);
    }

private:
    UploadAuftrag& m_auftrag;
};

UploadAuftrag::UploadAuftrag(Daten daten, QObject* parent) : Auftrag(parent), m_daten(std::move(daten)) {
}

UploadAuftrag::~UploadAuftrag() {
    Aufgeben();
    Abwarten();
}

void UploadAuftrag::Starten() {
    Auftrag::Starten([this] {
        Beobachter beobachter(*this);
        const GeneratorErgebnis erzeugt =
            WebsiteErzeugen(m_daten.artikel, m_daten.artikelProSeite, m_daten.style, m_daten.ftp,
                            m_daten.ausgabeOrdner, [&] { beobachter.Ereignis(Ereignisart::SeitenErstellt); });
        // A partly written site is not sent: the server keeps its complete older one.
        const bool senden = erzeugt.fehlendeDateien.empty() && !m_abbrechen;
        if (senden) {
            emit umfang(static_cast<int>(erzeugt.dateien.size()));
            std::unique_ptr<Serververbindung> verbindung;
            Upload upload(beobachter, verbindung, m_daten.datenOrdner);
            upload.AlleSenden(m_daten.alle);
            upload.AufgebenWenn(&m_aufgeben);
            upload.DatenUebertragen(m_daten.ftp, m_daten.ausgabeOrdner, erzeugt);
        }
        emit beendet(erzeugt, senden);
    });
}

void UploadAuftrag::Abbrechen() {
    m_abbrechen = true;
}

void UploadAuftrag::Aufgeben() {
    std::lock_guard<std::mutex> lock(m_frage);
    m_abbrechen = true;
    Auftrag::Aufgeben();
    m_beantwortet.notify_all();
}

void UploadAuftrag::Antworten(bool vertrauen) {
    std::lock_guard<std::mutex> lock(m_frage);
    m_antwort = vertrauen;
    m_beantwortet.notify_all();
}

bool UploadAuftrag::fragen(const std::string& text, bool geaendert) {
    // Nobody to ask: never trusted silently, and never waited for in vain.
    if (!isSignalConnected(QMetaMethod::fromSignal(&UploadAuftrag::vertrauenFragen)))
        return false;
    std::unique_lock<std::mutex> lock(m_frage);
    m_antwort.reset();
    if (m_aufgeben)
        return false;
    emit vertrauenFragen(QString::fromStdString(text), geaendert);
    m_beantwortet.wait(lock, [this] { return m_antwort.has_value() || m_aufgeben; });
    return m_antwort.value_or(false) && !m_aufgeben;
}

VerbindungstestAuftrag::VerbindungstestAuftrag(std::string adresse, std::string benutzer,
                                               std::string passwort, Vertrauen vertrauen, QObject* parent)
    : Auftrag(parent)
    , m_adresse(std::move(adresse))
    , m_benutzer(std::move(benutzer))
    , m_passwort(std::move(passwort))
    , m_vertrauen(std::move(vertrauen)) {
}

VerbindungstestAuftrag::~VerbindungstestAuftrag() {
    Aufgeben();
    Abwarten();
}

void VerbindungstestAuftrag::Starten() {
    Auftrag::Starten([this] {
        emit beendet(VerbindungTesten(m_adresse, m_benutzer, m_passwort, m_vertrauen, {}, &m_aufgeben));
    });
}

} // namespace velmaro
