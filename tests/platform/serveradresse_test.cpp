// The forms of the FTP address field and the protocol each one chooses.
#include "platform/serverzugang.h"

#include <gtest/gtest.h>

using namespace velmaro;

TEST(ServerAdresse, FormenUndIhrProtokoll) {
    const std::pair<const char*, std::optional<ServerAdresse>> faelle[] = {
        {"ftp.example.de", ServerAdresse{Protokoll::Ftp, "ftp.example.de", 21}},
        {"ftps://ftp.example.de", ServerAdresse{Protokoll::Ftps, "ftp.example.de", 21}},
        {"Ftps://127.0.0.1:990/", ServerAdresse{Protokoll::Ftps, "127.0.0.1", 990}},
        {"sftp://example.de", ServerAdresse{Protokoll::Sftp, "example.de", 22}},
        {"", std::nullopt},
        {"ftps://", std::nullopt},
        {"host:65536", std::nullopt},
        {"host/data", std::nullopt},
        {"user@host", std::nullopt},
    };
    for (const auto& [text, erwartet] : faelle)
        EXPECT_EQ(AdresseLesen(text), erwartet) << text;
    // The server a record belongs to: the host in lower case however it was typed, the user as typed.
    const Serverzugang zugang{*AdresseLesen("SFTP://Web.Example.DE:2222"), "Ich", "pw", {}, {}};
    EXPECT_EQ(zugang.schluessel(), "sftp web.example.de 2222 Ich");
}
