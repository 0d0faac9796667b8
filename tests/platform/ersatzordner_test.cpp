// The folder replaced as a whole, with what a later run adds: files in subfolders, files taken over
// from the previous content, names that come from article texts, and a folder that is not its own.
#include "platform/ersatzordner.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

TEST(ErsatzOrdner, UnterordnerUndFremdeNamen) {
    TempDir dir, draussen;
    // A link at the spare's name is not followed.
    fs::create_symlink(draussen.path(), dir / ".output.ersatz");
    fs::create_directories(dir / "output");
    const auto lauf = [&](const std::vector<std::string>& namen) {
        ErsatzOrdner ordner(dir / "output", ErsatzOrdner::Folgen);
        for (const std::string& name : namen)
            ordner.schreiben(name, name);
        return ordner.tauschen() ? std::string() : ordner.fehlerText();
    };
    ASSERT_EQ(lauf({"a.php", "bilder/x.jpg", "bilder/y.jpg", "bilder/alt/z.png"}), "");
    EXPECT_TRUE(fs::is_empty(draussen.path()));
    writeFile(dir / ".output.ersatz/bilder", "eine Datei, wo ein Ordner hin soll");
    ASSERT_EQ(lauf({"a.php", "bilder/x.jpg"}), "");
    EXPECT_EQ(Ordnerinhalt(dir / "output"), (Dateien{{"a.php", "a.php"}, {"bilder", "?"}}));
    EXPECT_EQ(Ordnerinhalt(dir / "output/bilder"), (Dateien{{"x.jpg", "bilder/x.jpg"}}));

    // Taken over, the file is shared with the previous content only until a run writes it anew.
    {
        ErsatzOrdner ordner(dir / "output", ErsatzOrdner::Folgen);
        fs::create_symlink("/etc/passwd", dir / "output/bilder/l.jpg");
        EXPECT_FALSE(ordner.uebernehmen("bilder/y.jpg") || ordner.uebernehmen("bilder/l.jpg"));
        ASSERT_TRUE(ordner.uebernehmen("bilder/x.jpg"));
        ASSERT_TRUE(ordner.tauschen());
    }
    ErsatzOrdner neu(dir / "output", ErsatzOrdner::Folgen);
    ASSERT_TRUE(neu.schreiben("bilder/x.jpg", "neu"));
    EXPECT_EQ(readFile(dir / "output/bilder/x.jpg"), "bilder/x.jpg");
    ASSERT_TRUE(neu.tauschen());
    EXPECT_EQ(readFile(dir / "output/bilder/x.jpg"), "neu");
    EXPECT_EQ(readFile(dir / ".output.ersatz/bilder/x.jpg"), "bilder/x.jpg");

    for (const std::string name : {"../weg.php", "bilder/../../weg.php", "/tmp/weg.php", "bilder/", ""}) {
        SCOPED_TRACE(name);
        EXPECT_NE(lauf({"a.php", name}).find("bei " + name), std::string::npos);
        EXPECT_FALSE(fs::exists(dir.path().parent_path() / "weg.php"));
    }
    // A folder of its own loses folders it no longer writes; one without the mark, holding a
    // folder of someone else's, is left alone.
    ASSERT_EQ(lauf({"a.php"}), "");
    EXPECT_FALSE(fs::exists(dir / "output/bilder"));
    fs::create_directories(draussen / "heim/Dokumente");
    fs::create_symlink(draussen / "heim", dir / "heim");
    ErsatzOrdner heim(dir / "heim", ErsatzOrdner::Folgen);
    EXPECT_FALSE(heim.schreiben("a.php", "") && heim.tauschen());
    EXPECT_NE(heim.fehlerText().find("bei heim/Dokumente"), std::string::npos) << heim.fehlerText();
    EXPECT_EQ(Ordnerinhalt(draussen / "heim"), (Dateien{{"Dokumente", "?"}}));
}
