// What the recovery file costs the window: with 10,000 articles loaded, keeping one edit (it runs
// at every save; goal: at most 5 ms), and reading a session's 100 changes back at start and applying
// them, against reading daten.bit itself (goal: at most 2 times).
#include "store/wiederherstellung.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>

using namespace velmaro;
namespace fs = std::filesystem;

namespace {

constexpr int kArtikel = 10000;
constexpr int kAenderungen = 100;

struct Ordner {
    fs::path pfad;
    Ordner() {
        std::string muster = (fs::temp_directory_path() / "velmaro-bench-XXXXXX").string();
        if (!mkdtemp(muster.data()))
            throw std::runtime_error("mkdtemp");
        pfad = muster;
        VelmaroZustand z;
        z.m_ordner = pfad;
        z.m_artikelProSeite = "5";
        std::string text(2500, 'x');
        DateTime datum = DateTime::fromParts(2024, 1, 1, 12);
        for (int i = 0; i < kArtikel; ++i) {
            datum.value -= 0.5;
            text[i % text.size()] = static_cast<char>('a' + i % 26);
            z.m_artikelListe.addTail({datum, "Meldung Nummer " + std::to_string(i), text});
        }
        if (!z.DateienSchreiben().empty())
            throw std::runtime_error(DateiName(Datendatei::Daten));
        // A long session: edits spread over the list.
        Wiederherstellung w(pfad / "data" / DateiName(Datendatei::Wiederherstellung));
        auto pos = z.m_artikelListe.begin();
        for (int i = 0; i < kAenderungen; ++i, std::advance(pos, kArtikel / kAenderungen - 1)) {
            Aenderung a;
            a.art = Aenderung::Art::Geaendert;
            a.alt = *pos;
            a.neu = *pos;
            a.neu.textinhalt += " (korrigiert)";
            w.Anhaengen(a);
        }
    }
    ~Ordner() { fs::remove_all(pfad); }
};
Ordner* ordner = nullptr;

std::unique_ptr<VelmaroZustand> laden() {
    auto z = std::make_unique<VelmaroZustand>();
    z->m_ordner = ordner->pfad;
    z->DatenDateiLesen();
    return z;
}

void BM_EineAenderungSichern(benchmark::State& state) {
    const auto z = laden();
    Wiederherstellung w(ordner->pfad / "sitzung.bit");
    Aenderung a;
    a.art = Aenderung::Art::Geaendert;
    a.alt = *std::next(z->m_artikelListe.begin(), kArtikel / 2);
    a.neu = a.alt;
    a.neu.ueberschrift += "!";
    for (auto _ : state)
        if (!w.Anhaengen(a))
            state.SkipWithError("Anhaengen");
    w.Entfernen();
}

void BM_DatenBitLesen(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(laden()->m_artikelListe.size());
}

void BM_AenderungenZurueckholen(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const auto z = laden();
        state.ResumeTiming();
        Wiederherstellung w(ordner->pfad / "data" / DateiName(Datendatei::Wiederherstellung));
        AenderungenAnwenden(*z, *w.Lesen());
        benchmark::DoNotOptimize(z->m_artikelListe.size());
    }
}

BENCHMARK(BM_EineAenderungSichern)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DatenBitLesen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AenderungenZurueckholen)->Unit(benchmark::kMillisecond)->UseRealTime();

class Reporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> zeiten;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            zeiten[r.run_name.function_name] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Ordner o;
    ordner = &o;
    Reporter r;
    benchmark::RunSpecifiedBenchmarks(&r);
    const double sichern = r.zeiten["BM_EineAenderungSichern"];
    const double zurueck = r.zeiten["BM_AenderungenZurueckholen"] / r.zeiten["BM_DatenBitLesen"];
    std::printf("\nEine Änderung sichern   %6.2f ms  (Ziel <= 5 ms) %s\n", sichern,
                sichern <= 5 ? "ok" : "VERFEHLT");
    std::printf("Änderungen zurückholen  %6.2fx daten.bit lesen  (Ziel <= 2x) %s\n", zurueck,
                zurueck <= 2 ? "ok" : "VERFEHLT");
    benchmark::Shutdown();
    return 0;
}
