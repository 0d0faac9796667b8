// The per-user site folder of a start from the desktop menu.
#include "platform/benutzerordner.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace velmaro;
namespace fs = std::filesystem;

TEST(BenutzerOrdner, NachDenXdgRegeln) {
    for (const auto& [xdg, home, ordner] :
         {std::tuple<const char*, const char*, const char*>{"/daten", "/home/anna", "/daten/velmaro"},
          {nullptr, "/home/anna", "/home/anna/.local/share/velmaro"},
          {"relativ", "/home/anna", "/home/anna/.local/share/velmaro"},
          {nullptr, nullptr, ""}})
        EXPECT_EQ(BenutzerOrdner(xdg, home), fs::path(ordner)) << (xdg ? xdg : "(unset)");
}

TEST(BenutzerOrdner, ErsterStartLegtDataUndOutputAn) {
    velmaro::test::TempDir dir;
    std::string fehler;
    // A second start finds them.
    for (int start = 0; start < 2; ++start)
        ASSERT_TRUE(BenutzerOrdnerAnlegen(dir / "share/velmaro", fehler)) << fehler;
    EXPECT_TRUE(fs::is_directory(dir / "share/velmaro/data") &&
                fs::is_directory(dir / "share/velmaro/output"));
    velmaro::test::writeFile(dir / "datei", "");
    EXPECT_FALSE(BenutzerOrdnerAnlegen(dir / "datei/velmaro", fehler) || fehler.empty());
    EXPECT_FALSE(BenutzerOrdnerAnlegen({}, fehler));
}
