#include "platform/cp1252.h"
#include "platform/file.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

int filesIn(const fs::path& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++n;
    return n;
}

TEST(SaveFile, ReplacesOnlyOnCommit) {
    TempDir dir;
    const fs::path target = dir / "daten.bit";
    writeFile(target, "alt");
    {
        SaveFile f(target);
        ASSERT_TRUE(f.open());
        f.write("neu und laenger", 15);
        EXPECT_EQ(readFile(target), "alt");
    } // dropped without commit, as after an error while writing
    EXPECT_EQ(readFile(target), "alt");
    EXPECT_EQ(filesIn(dir.path()), 1);

    SaveFile g(target);
    ASSERT_TRUE(g.open());
    g.write("neu", 3);
    ASSERT_TRUE(g.commit());
    EXPECT_EQ(readFile(target), "neu");
    EXPECT_EQ(filesIn(dir.path()), 1);
}

TEST(SaveFile, FailuresLeaveTheOldFileAndSayWhy) {
    TempDir dir;
    // The target is a folder: the rename must fail.
    fs::create_directory(dir / "ordner");
    SaveFile f(dir / "ordner");
    ASSERT_TRUE(f.open());
    f.write("x", 1);
    EXPECT_FALSE(f.commit());
    EXPECT_FALSE(f.errorText().empty());
    EXPECT_TRUE(fs::is_directory(dir / "ordner"));
    EXPECT_EQ(filesIn(dir.path()), 1);

    // No such folder: open fails.
    SaveFile g(dir / "fehlt" / "daten.bit");
    EXPECT_FALSE(g.open());
    EXPECT_FALSE(g.errorText().empty());
}

TEST(SaveFile, ModeForPasswordFiles) {
    TempDir dir;
    SaveFile f(dir / "ftpconfig.bit", 0600);
    ASSERT_TRUE(f.open());
    ASSERT_TRUE(f.commit());
    struct stat st {};
    ASSERT_EQ(::stat((dir / "ftpconfig.bit").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(TextFile, LinesEndAtLfWithOrWithoutCr) {
    TempDir dir;
    writeFile(dir / "t", "eins\r\nzwei\ndrei\r\r\nvier");
    TextFile t;
    ASSERT_TRUE(t.openExisting(dir / "t"));
    std::string line;
    std::vector<std::string> lines;
    while (t.readLine(line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"eins", "zwei", "drei\r", "vier"}));
    EXPECT_FALSE(t.readLine(line));
    EXPECT_EQ(line, "");
    EXPECT_FALSE(t.openExisting(dir / "fehlt"));
}

TEST(Cp1252, EveryByteSurvivesUnicode) {
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(cp1252::fromUnicode(cp1252::toUnicode(static_cast<unsigned char>(b))), b);
    EXPECT_EQ(cp1252::toUnicode(0x80), U'€');
    EXPECT_EQ(cp1252::fromUnicode(U'ü'), 0xFC);
    EXPECT_EQ(cp1252::fromUnicode(U'\u4E2D'), -1);
    EXPECT_EQ(cp1252::toUtf8("Gr\xFC\xDF"
                             "e \x80"),
              "Grüße €");
}

} // namespace
