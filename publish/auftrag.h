#pragma once
// Work beside the window: "Update Website" and "Verbindung testen" each run on a thread of their
// own, from copies of what they need, and report by signals, which reach the receiver on its
// thread. Only the question whether to trust a server waits for the user's answer.

#include "publish/upload.h"
#include "publish/verbindungstest.h"
#include "site/generator.h"
#include "store/artikel.h"
#include "store/einstellungen.h"
#include "store/ereignis.h"
#include "store/vertrauen.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

class QThread;

namespace velmaro {

class Auftrag : public QObject {
    Q_OBJECT
public:
    ~Auftrag() override;

    // Every connection gives up whatever it waits for, at once.
    virtual void Aufgeben();
    // Returns once the thread has ended.
    void Abwarten();

protected:
    explicit Auftrag(QObject* parent);
    void Starten(std::function<void()> arbeit);

    std::atomic<bool> m_aufgeben{false};

private:
    QThread* m_thread = nullptr;
};

class UploadAuftrag : public Auftrag {
    Q_OBJECT
public:
    // What the run uses: the window's values of the moment it started.
    struct Daten {
        Artikelliste artikel;
        std::string artikelProSeite;
        StyleWerte style;
        FtpZugangsdaten ftp;
        std::filesystem::path ausgabeOrdner;
        std::filesystem::path datenOrdner;
        bool alle = false;
    };

    explicit UploadAuftrag(Daten daten, QObject* parent = nullptr);
    ~UploadAuftrag() override;

    // Writes output/ and, when that worked, uploads it.
    void Starten();
    // "Abbrechen": no file after those under way.
    void Abbrechen();
    // Also an open trust question counts as "Nein".
    void Aufgeben() override;
    // The answer to vertrauenFragen.
    void Antworten(bool vertrauen);

signals:
    void ereignis(velmaro::Ereignisart art);
    // "Übertrage Seite …" and the closing lines of a run that sent nothing.
    void fortschritt(const QString& text);
    // A message the user must acknowledge; the run goes on meanwhile.
    void meldung(const QString& text, const QString& titel);
    // How many files are to be sent: once output/ is written, again once the server was listed.
    void umfang(int dateien);
    // One more file arrived.
    void angekommen();
    // Asks whether to trust the server's certificate or host key (text names it with its
    // fingerprint); the run waits for Antworten.
    void vertrauenFragen(const QString& text, bool geaendert);
    // The last signal: the generator's run, and whether the upload was started.
    void beendet(const velmaro::GeneratorErgebnis& erzeugt, bool gesendet);

private:
    class Beobachter;
    bool fragen(const std::string& text, bool geaendert);

    Daten m_daten;
    std::atomic<bool> m_abbrechen{false};
    std::mutex m_frage;
    std::condition_variable m_beantwortet;
    std::optional<bool> m_antwort;
};

class VerbindungstestAuftrag : public Auftrag {
    Q_OBJECT
public:
    // Values as in the FTP dialog (Windows-1252); vertrauen holds the servers the user trusts.
    VerbindungstestAuftrag(std::string adresse, std::string benutzer, std::string passwort,
                           Vertrauen vertrauen, QObject* parent = nullptr);
    ~VerbindungstestAuftrag() override;

    void Starten();

signals:
    void beendet(const velmaro::Verbindungstest& ergebnis);

private:
    std::string m_adresse, m_benutzer, m_passwort;
    Vertrauen m_vertrauen;
};

} // namespace velmaro
