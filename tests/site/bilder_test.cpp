// Pictures: converted for the web from real files, written once into output/bilder/ and removed
// there when no article uses them any more; a missing one is named. Storing a picture the editor
// picks is tried through the editor.
#include "platform/bild.h"
#include "site/bilder.h"
#include "store/bildablage.h"

#include "../support/kamerabild.h"
#include "../support/tempdir.h"
#include "../support/testdaten.h"

#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;

namespace {

TEST(Bilder, UmwandlungFuerDasWeb) {
    TempDir t;
    QImage klein(300, 200, QImage::Format_ARGB32);
    klein.fill(qRgba(0, 200, 0, 128));
    // Name, bytes, the format and size that come out (0 x 0: copied unchanged).
    const std::tuple<std::string, std::string, std::string, int, int> faelle[] = {
        // Sideways with a serial: upright, 800 wide, nothing but pixels.
        {"kamera.jpg", KameraJpeg(1200, 900), "jpeg", 800, 1067},
        {"text.png", Kodiert(klein, "png", "GEHEIM-Text"), "png", 300, 200},
        {"animiert.gif", AnimiertesGif(), "gif", 0, 0},
    };
    for (const auto& [name, bytes, format, breite, hoehe] : faelle) {
        SCOPED_TRACE(name);
        writeFile(t / name, bytes);
        std::string fehler;
        ASSERT_TRUE(BildUmwandeln(t / name, t / ("aus-" + name), fehler)) << fehler;
        const std::string aus = readFile(t / ("aus-" + name));
        if (breite == 0) {
            EXPECT_EQ(aus, bytes);
            continue;
        }
        QImageReader leser(QString::fromStdString((t / ("aus-" + name)).string()));
        leser.setAutoTransform(false);
        EXPECT_EQ(leser.format().toStdString(), format);
        const QImage bild = leser.read();
        EXPECT_EQ(bild.size(), QSize(breite, hoehe));
        for (const char* spur : {"Exif", kKameraSerie, "GEHEIM", "Comment"})
            EXPECT_EQ(aus.find(spur), npos) << spur;
        EXPECT_TRUE(format != "jpeg" || qRed(bild.pixel(400, 10)) > 200); // red on top: turned clockwise
        EXPECT_TRUE(format != "png" || bild.pixel(5, 5) == klein.pixel(5, 5));
    }
    // Nothing a browser could show: named, nothing written, and not taken into data/bilder.
    writeFile(t / "kein.jpg", "kein Bild");
    std::string fehler;
    EXPECT_FALSE(BildUmwandeln(t / "kein.jpg", t / "aus.jpg", fehler));
    EXPECT_NE(fehler.find("kein Bild"), npos) << fehler;
    EXPECT_FALSE(fs::exists(t / "aus.jpg"));
    EXPECT_FALSE(BildAblegen(t / "kein.jpg", t / "data/bilder", fehler));
    // The same picture picked twice, under another name: one file.
    fs::copy_file(t / "kamera.jpg", t / "b.JPG");
    EXPECT_EQ(BildAblegen(t / "kamera.jpg", t / "data/bilder", fehler),
              BildAblegen(t / "b.JPG", t / "data/bilder", fehler));
}

TEST(Bilder, EinmalUmgewandeltUndAufgeraeumt) {
    TempDir t;
    VelmaroZustand z;
    z.m_ordner = t.path();
    z.m_artikelProSeite = "5";
    writeFile(t / "data/bilder/a.jpg", KameraJpeg(100, 1000));
    writeFile(t / "data/bilder/b.gif", AnimiertesGif());
    z.m_artikelListe.addTail(
        {DateTime::fromParts(2003, 5, 1), "Zwei", "<img src=bilder/a.jpg><img src=bilder/b.gif>"});
    z.m_artikelListe.addTail({DateTime::fromParts(2003, 4, 1), "Eins", "<img src='bilder/a.jpg'>"});
    GeneratorErgebnis e = Erzeugen(z);
    EXPECT_TRUE(e.fehlendeDateien.empty()) << e.grund;
    EXPECT_EQ(e.bilder, (std::vector<std::string>{"bilder/a.jpg", "bilder/b.gif"}));
    EXPECT_EQ(QImage(QString::fromStdString((t / "output/bilder/a.jpg").string())).width(), 800);

    // A second run takes the conversion it made before, here replaced by a mark of its own.
    writeFile(t / "bildcache/a.jpg", "schon umgewandelt");
    fs::remove(t / "output/bilder/a.jpg");
    Erzeugen(z);
    EXPECT_EQ(readFile(t / "output/bilder/a.jpg"), "schon umgewandelt");
    // A picture changed under the same name is converted again.
    fs::last_write_time(t / "data/bilder/a.jpg", fs::file_time_type::clock::now() + std::chrono::hours(1));
    Erzeugen(z);
    EXPECT_EQ(QImage(QString::fromStdString((t / "output/bilder/a.jpg").string())).width(), 800);

    // Pictures no article uses go.
    z.m_artikelListe.removeAt(z.m_artikelListe.head());
    e = Erzeugen(z);
    EXPECT_EQ(e.bilder, std::vector<std::string>{"bilder/a.jpg"});
    for (const fs::path& ordner : {t / "output/bilder", t / "bildcache"})
        EXPECT_TRUE(fs::exists(ordner / "a.jpg") && Ordnerinhalt(ordner).size() == 1) << ordner;

    // A missing or misnamed one is named, and output/ keeps the previous site.
    z.m_artikelListe.addTail(
        {DateTime::fromParts(2003, 3, 1), "Fehlt", "<img src=bilder/c.png><img src=bilder/../x.jpg>"});
    e = Erzeugen(z);
    EXPECT_EQ(e.fehlendeDateien, (std::vector<std::string>{"bilder/../x.jpg", "bilder/c.png"}));
    EXPECT_NE(e.grund.find("ungültiger Name"), npos) << e.grund;
    EXPECT_FALSE(fs::exists(t / "output/artikel2.php"));
}

} // namespace
