// The per-user site folder of a start from the desktop menu.
#include "platform/benutzerordner.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace velmaro;
namespace fs = std::filesystem;

TEST(BenutzerOrdner, NachDenXdgRegeln) {
    struct Fall {
        const char* xdg;
        const char* home;
        const char* ordner;
    };
    const Fall faelle[] = {
        {"/daten", "/home/anna", "/daten/velmaro"},
        {nullptr, "/home/anna", "/home/anna/.local/share/velmaro"},
        {"", "/home/anna", "/home/anna/.local/share/velmaro"},
        {"relativ", "/home/anna", "/home/anna/.local/share/velmaro"},
        {nullptr, nullptr, ""},
        {"", "", ""},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(BenutzerOrdner(f.xdg, f.home), fs::path(f.ordner)) << (f.xdg ? f.xdg : "(unset)");
}

TEST(BenutzerOrdner, ErsterStartLegtDataUndOutputAn) {
    velmaro::test::TempDir dir;
    std::string fehler;
    ASSERT_TRUE(BenutzerOrdnerAnlegen(dir / "share/velmaro", fehler)) << fehler;
    EXPECT_TRUE(fs::is_directory(dir / "share/velmaro/data"));
    EXPECT_TRUE(fs::is_directory(dir / "share/velmaro/output"));
    // A second start finds them.
    EXPECT_TRUE(BenutzerOrdnerAnlegen(dir / "share/velmaro", fehler)) << fehler;

    velmaro::test::writeFile(dir / "datei", "");
    EXPECT_FALSE(BenutzerOrdnerAnlegen(dir / "datei/velmaro", fehler));
    EXPECT_FALSE(fehler.empty());
    EXPECT_FALSE(BenutzerOrdnerAnlegen({}, fehler));
}
