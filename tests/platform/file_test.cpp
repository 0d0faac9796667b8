#include "platform/cp1252.h"
#include "platform/file.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <iconv.h>

using namespace velmaro;
using namespace velmaro::test;
namespace fs = std::filesystem;

namespace {

const auto dateienIn = [](const fs::path& dir) { return std::distance(fs::directory_iterator(dir), {}); };

TEST(SaveFile, TheOldFileStaysUntilCommit) {
    TempDir dir;
    const fs::path ziel = dir / "daten.bit";
    writeFile(ziel, "alt");
    {
        SaveFile f(ziel);
        ASSERT_TRUE(f.open());
        f.write("neu und laenger", 15);
    } // dropped without commit, as after an error while writing
    EXPECT_EQ(readFile(ziel), "alt");
    EXPECT_EQ(dateienIn(dir.path()), 1);

    SaveFile g(ziel);
    ASSERT_TRUE(g.open());
    g.write("neu", 3);
    ASSERT_TRUE(g.commit());
    EXPECT_EQ(readFile(ziel), "neu");

    // A rename that fails (the target is a folder) leaves everything as it was and says why.
    fs::create_directory(dir / "ordner");
    SaveFile h(dir / "ordner");
    ASSERT_TRUE(h.open());
    EXPECT_FALSE(h.commit() || h.errorText().empty());
    EXPECT_TRUE(fs::is_directory(dir / "ordner"));
    EXPECT_EQ(dateienIn(dir.path()), 2);
    EXPECT_FALSE(SaveFile(dir / "fehlt" / "x").open());
}

// glibc's table is the independent oracle; the five bytes it leaves undefined map to the C1
// controls of the same number, so that every stored byte survives a trip through Unicode.
TEST(Cp1252, EveryByteAsGlibcHasItAndBack) {
    iconv_t cd = ::iconv_open("UTF-32LE", "CP1252");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b), *pin = &in;
        char32_t out = 0;
        char* pout = reinterpret_cast<char*>(&out);
        std::size_t nin = 1, nout = sizeof out;
        const bool definiert = ::iconv(cd, &pin, &nin, &pout, &nout) != static_cast<std::size_t>(-1);
        EXPECT_EQ(cp1252::toUnicode(static_cast<unsigned char>(b)), definiert ? out : char32_t(b)) << b;
        EXPECT_EQ(cp1252::fromUnicode(cp1252::toUnicode(static_cast<unsigned char>(b))), b) << b;
    }
    ::iconv_close(cd);
    EXPECT_EQ(cp1252::fromUnicode(U'\u4E2D'), -1);
}

} // namespace
