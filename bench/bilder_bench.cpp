// The pictures of a site: 50 photos of 12 megapixels converted for the web the first time, and a
// second run with nothing changed, which must take the conversions it made before.
//   erster Lauf:  goal at most 10 s on this machine (2 cores)
//   zweiter Lauf: goal at most 0.2 s
#include "site/bilder.h"

#include <QBuffer>
#include <QImage>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kBilder = 50;

// A busy 4000 x 3000 photo, so decoding costs what a real one does; 50 copies differing in their
// first pixel row.
std::string foto(int nummer) {
    QImage bild(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < bild.height(); ++y) {
        auto* zeile = reinterpret_cast<QRgb*>(bild.scanLine(y));
        for (int x = 0; x < bild.width(); ++x)
            zeile[x] = qRgb((x * y + nummer) & 0xFF, (x + 3 * y) & 0xFF, (x ^ y) & 0xFF);
    }
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, "JPEG", 90);
    return bytes.toStdString();
}

double sekunden(const std::chrono::steady_clock::time_point& seit) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - seit).count();
}

void zeigen(const char* was, double s, double ziel) {
    std::printf("%-28s %7.3f s  (Ziel <= %.1f s) %s\n", was, s, ziel, s <= ziel ? "ok" : "VERFEHLT");
}

} // namespace

int main() {
    std::string muster = (fs::temp_directory_path() / "velmaro-bilder-XXXXXX").string();
    if (!mkdtemp(muster.data()))
        throw std::runtime_error("mkdtemp");
    const fs::path ordner = muster;
    fs::create_directories(ordner / "data/bilder");
    std::set<std::string> namen;
    std::printf("%d Fotos mit 12 Megapixeln anlegen ...\n", kBilder);
    const std::string vorlage = foto(0);
    for (int i = 0; i < kBilder; ++i) {
        const std::string name = "foto" + std::to_string(i) + ".jpg";
        // One encoded photo written 50 times: each file is converted on its own all the same.
        std::ofstream(ordner / "data/bilder" / name, std::ios::binary) << vorlage;
        namen.insert(name);
    }
    const auto erzeugen = [&] {
        const auto start = std::chrono::steady_clock::now();
        const auto fehler = velmaro::BilderErzeugen(ordner / "data/bilder", ordner / "output/bilder", namen,
                                                    ordner / "bildcache");
        if (!fehler.empty())
            throw std::runtime_error(fehler.front().first + ": " + fehler.front().second);
        return sekunden(start);
    };
    zeigen("50 Bilder, erster Lauf", erzeugen(), 10.0);
    zeigen("50 Bilder, unverändert", erzeugen(), 0.2);
    fs::remove_all(ordner);
    return 0;
}
