// How much the generator and the article file cost beyond the bare file system work they cause:
// each is measured beside plain POSIX code moving the same bytes, and the ratio is printed.
//   Website: 10,000 articles (bodies of 200 to 5,000 bytes) into output/, replaced whole, against
//            open/write/close of the same files with the same bytes (goal: at most 1.5 times).
//   daten.bit: 100,000 articles written and read, against the same number of bytes written and
//            read in 4096-byte blocks (goal: at most 2 times).
//   Start:   what the window does with the file before it shows, for 25,000 to 100,000 articles,
//            fitted to a complexity class: it must grow linearly, a quadratic step would show.
#include "site/generator.h"
#include "store/zustand.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <malloc.h>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

using namespace velmaro;
namespace fs = std::filesystem;

namespace {

constexpr int kWebsiteArtikel = 10000;
constexpr int kDatenArtikel = 100000;
constexpr std::size_t kBlock = 4096;

// On tmpfs where there is one, so that the figures show the program's own cost, not the disk's.
fs::path neuerOrdner() {
    std::error_code ec;
    const fs::path basis =
        fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string muster = (basis / "velmaro-bench-XXXXXX").string();
    if (!mkdtemp(muster.data()))
        throw std::runtime_error("mkdtemp");
    return muster;
}

void artikelAnlegen(VelmaroZustand& z, int anzahl, std::size_t minText, std::size_t maxText) {
    std::mt19937 zufall(4711);
    std::uniform_int_distribution<std::size_t> laenge(minText, maxText);
    // Bodies cut from one random text: the bytes vary, and building 100,000 of them stays quick.
    std::uniform_int_distribution<int> zeichen(32, 255);
    std::string vorrat(2 * maxText, ' ');
    for (char& c : vorrat)
        c = static_cast<char>(zeichen(zufall));
    std::uniform_int_distribution<std::size_t> anfang(0, maxText);
    DateTime datum = DateTime::fromParts(2024, 1, 1, 12);
    for (int i = 0; i < anzahl; ++i) {
        std::string text = vorrat.substr(anfang(zufall), laenge(zufall));
        datum.value -= 0.5;
        z.m_artikelListe.addTail(Artikel{datum, "Meldung Nummer " + std::to_string(i), std::move(text)});
    }
}

void rohSchreiben(const fs::path& pfad, const std::string& bytes) {
    const int fd = ::open(pfad.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::close(fd) != 0)
        throw std::runtime_error("write " + pfad.string());
}

struct Website {
    fs::path ordner = neuerOrdner();
    VelmaroZustand z;
    GeneratorErgebnis ergebnis;
    void erzeugen() {
        ergebnis =
            WebsiteErzeugen(z.m_artikelListe, z.m_artikelProSeite, z.m_style, z.m_ftp, z.ausgabeOrdner());
    }
    // The generated files, to be written again by plain POSIX calls.
    std::vector<std::pair<fs::path, std::string>> dateien;
    fs::path rohOrdner = neuerOrdner();

    Website() {
        z.m_ordner = ordner;
        z.m_artikelProSeite = "5";
        StyleWerte& st = z.m_style;
        for (std::string* wert :
             {&st.datumHintergrund, &st.datumBreite, &st.datumFarbe, &st.datumGroesse, &st.datumSchrift,
              &st.overHintergrund, &st.overBreite, &st.overFarbe, &st.overGroesse, &st.overSchrift,
              &st.textHintergrund, &st.textFarbe, &st.textGroesse, &st.textSchrift, &st.tabelleHintergrund,
              &st.tabelleBreite})
            *wert = "#ABCDEF";
        artikelAnlegen(z, kWebsiteArtikel, 200, 5000);
        erzeugen();
        std::size_t bytes = 0;
        for (const auto& e : fs::directory_iterator(ordner / "output")) {
            std::string inhalt;
            readWholeFile(e.path(), inhalt);
            bytes += inhalt.size();
            dateien.emplace_back(rohOrdner / e.path().filename(), std::move(inhalt));
        }
        for (const auto& [pfad, inhalt] : dateien)
            rohSchreiben(pfad, inhalt);
        std::printf("Website: %zu Dateien, %.1f MB\n", dateien.size(), bytes / 1e6);
    }
    ~Website() {
        std::error_code ec;
        fs::remove_all(ordner, ec);
        fs::remove_all(rohOrdner, ec);
    }
};

struct Daten {
    fs::path ordner = neuerOrdner();
    fs::path datei = ordner / DateiName(Datendatei::Daten);
    fs::path rohDatei = ordner / "roh.bin";
    VelmaroZustand z;
    std::string bytes;

    Daten() {
        z.m_artikelProSeite = "5";
        artikelAnlegen(z, kDatenArtikel, 200, 2000);
        BinaryFile f;
        f.createOrTruncate(datei);
        z.DatenSpeichern(f);
        f.close();
        readWholeFile(datei, bytes);
        rohSchreiben(rohDatei, bytes);
        std::printf("daten.bit: %d Artikel, %.1f MB\n", kDatenArtikel, bytes.size() / 1e6);
    }
    ~Daten() {
        std::error_code ec;
        fs::remove_all(ordner, ec);
    }
};

Website* website = nullptr;
Daten* daten = nullptr;

// Every writing run starts with the page cache written back, so that no run pays for the dirty
// pages of the one before it.
void zurueckschreiben(benchmark::State& state) {
    state.PauseTiming();
    ::sync();
    state.ResumeTiming();
}

void BM_WebsiteErzeugen(benchmark::State& state) {
    for (auto _ : state) {
        zurueckschreiben(state);
        website->erzeugen();
    }
    if (!website->ergebnis.fehlendeDateien.empty())
        state.SkipWithError("files missing");
}

void BM_WebsiteRoh(benchmark::State& state) {
    for (auto _ : state) {
        zurueckschreiben(state);
        for (const auto& [pfad, inhalt] : website->dateien)
            rohSchreiben(pfad, inhalt);
    }
}

void BM_DatenSpeichern(benchmark::State& state) {
    for (auto _ : state) {
        zurueckschreiben(state);
        BinaryFile f;
        f.createOrTruncate(daten->datei);
        daten->z.DatenSpeichern(f);
        f.close();
    }
}

void BM_BloeckeSchreiben(benchmark::State& state) {
    const std::string& bytes = daten->bytes;
    for (auto _ : state) {
        zurueckschreiben(state);
        const int fd = ::open(daten->rohDatei.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        for (std::size_t pos = 0; pos < bytes.size(); pos += kBlock) {
            const std::size_t n = std::min(kBlock, bytes.size() - pos);
            if (::write(fd, bytes.data() + pos, n) != static_cast<ssize_t>(n))
                state.SkipWithError("write");
        }
        ::close(fd);
    }
}

// kalt: the freed memory is handed back to the kernel before every run, as on a fresh start, so each
// run also pays for faulting the articles' memory in. Shown, but not held to the goal.
void datenLadenMessen(benchmark::State& state, bool kalt) {
    for (auto _ : state) {
        if (kalt) {
            state.PauseTiming();
            malloc_trim(0);
            state.ResumeTiming();
        }
        auto z = std::make_unique<VelmaroZustand>();
        BinaryFile f;
        f.openRead(daten->datei);
        z->DatenLaden(f);
        benchmark::DoNotOptimize(z->m_artikelListe.size());
        state.PauseTiming();
        z.reset();
        state.ResumeTiming();
    }
}

void BM_DatenLaden(benchmark::State& state) {
    datenLadenMessen(state, false);
}
void BM_DatenLadenKalt(benchmark::State& state) {
    datenLadenMessen(state, true);
}

void BM_BloeckeLesen(benchmark::State& state) {
    std::vector<char> puffer(kBlock);
    for (auto _ : state) {
        const int fd = ::open(daten->rohDatei.c_str(), O_RDONLY | O_CLOEXEC);
        std::size_t gesamt = 0;
        for (ssize_t n; (n = ::read(fd, puffer.data(), kBlock)) > 0;)
            gesamt += static_cast<std::size_t>(n);
        ::close(fd);
        benchmark::DoNotOptimize(gesamt);
    }
}

// Reading daten.bit, the list lines and the snapshot "Beenden" is compared against.
void BM_Start(benchmark::State& state) {
    static std::map<std::int64_t, std::string> dateien;
    std::string& bytes = dateien[state.range(0)];
    if (bytes.empty()) {
        VelmaroZustand z;
        artikelAnlegen(z, static_cast<int>(state.range(0)), 200, 2000);
        struct Puffer : Device {
            std::string& b;
            explicit Puffer(std::string& ziel) : b(ziel) {}
            std::size_t read(char*, std::size_t) override { return 0; }
            void write(const char* p, std::size_t n) override { b.append(p, n); }
        } puffer(bytes);
        z.DatenSpeichern(puffer);
    }
    const fs::path datei = daten->ordner / ("start-" + std::to_string(state.range(0)) + ".bit");
    rohSchreiben(datei, bytes);
    for (auto _ : state) {
        auto z = std::make_unique<VelmaroZustand>();
        BinaryFile f;
        f.openRead(datei);
        z->DatenLaden(f);
        benchmark::DoNotOptimize(z->ListenZeilen().size());
        benchmark::DoNotOptimize(z->Schnappschuss().size());
        state.PauseTiming();
        z.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

// Three repetitions each; the ratios use the medians.
void einstellen(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1)->Repetitions(3)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_WebsiteErzeugen)->Apply(einstellen);
BENCHMARK(BM_WebsiteRoh)->Apply(einstellen);
BENCHMARK(BM_DatenSpeichern)->Apply(einstellen);
BENCHMARK(BM_BloeckeSchreiben)->Apply(einstellen);
BENCHMARK(BM_DatenLaden)->Apply(einstellen);
BENCHMARK(BM_DatenLadenKalt)->Apply(einstellen);
BENCHMARK(BM_BloeckeLesen)->Apply(einstellen);
BENCHMARK(BM_Start)
    ->RangeMultiplier(2)
    ->Range(25000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity();

// The console output, plus each run's time kept for the ratios.
class Reporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> zeiten;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration || r.aggregate_name == "median")
                zeiten[r.run_name.function_name] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

// The median time of a benchmark, or 0 when it did not run.
double zeit(const Reporter& r, const std::string& was) {
    const auto it = r.zeiten.find(was);
    return it == r.zeiten.end() ? 0 : it->second;
}

void verhaeltnis(const Reporter& r, const char* name, const char* was, const char* vergleich, double ziel) {
    const double a = zeit(r, was);
    const double b = zeit(r, vergleich);
    if (a <= 0 || b <= 0)
        return;
    const double v = a / b;
    std::printf("%-22s %9.1f ms  gegen POSIX %9.1f ms  = %.2fx", name, a, b, v);
    if (ziel > 0)
        std::printf("  (Ziel <= %.1fx) %s", ziel, v <= ziel ? "ok" : "VERFEHLT");
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    // The runs free what the run before loaded. Without this, glibc would hand those pages back to
    // the kernel, and every run would measure faulting 100 MB back in (slow on a virtual machine)
    // instead of the reader; BM_DatenLadenKalt shows that cost on its own.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Website w;
    Daten d;
    website = &w;
    daten = &d;
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    verhaeltnis(reporter, "Website erzeugen", "BM_WebsiteErzeugen", "BM_WebsiteRoh", 1.5);
    verhaeltnis(reporter, "daten.bit schreiben", "BM_DatenSpeichern", "BM_BloeckeSchreiben", 2.0);
    verhaeltnis(reporter, "daten.bit lesen", "BM_DatenLaden", "BM_BloeckeLesen", 2.0);
    verhaeltnis(reporter, "  (kalt, zur Info)", "BM_DatenLadenKalt", "BM_BloeckeLesen", 0);
    benchmark::Shutdown();
    return 0;
}
