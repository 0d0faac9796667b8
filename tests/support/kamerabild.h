#pragma once
// Pictures as cameras and editors leave them, made in the test: a JPEG taken sideways (EXIF
// orientation 6) with a camera serial, and a two-frame animated GIF.

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cstdint>
#include <string>

namespace velmaro::test {

inline constexpr const char* kKameraSerie = "SERIE-4711-XZ";

// breite x hoehe as stored: left half red, right half blue. Shown upright (turned 90 degrees
// clockwise) it is hoehe wide, red on top.
inline std::string KameraJpeg(int breite, int hoehe) {
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    bild.fill(Qt::blue);
    for (int y = 0; y < hoehe; ++y)
        for (int x = 0; x < breite / 2; ++x)
            bild.setPixel(x, y, qRgb(255, 0, 0));
    QByteArray jpeg;
    QBuffer puffer(&jpeg);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, "JPEG", 95);

    // TIFF, little-endian: IFD0 with Orientation and CameraSerialNumber.
    std::string t("II*\0\x08\0\0\0", 8);
    const auto u16 = [&](std::uint16_t v) {
        t += static_cast<char>(v & 0xFF), t += static_cast<char>(v >> 8);
    };
    const auto u32 = [&](std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v)), u16(static_cast<std::uint16_t>(v >> 16));
    };
    const std::string serie = std::string(kKameraSerie) + '\0';
    u16(2);
    u16(0x0112), u16(3), u32(1), u16(6), u16(0);
    u16(0xC62F), u16(2), u32(static_cast<std::uint32_t>(serie.size())), u32(8 + 2 + 2 * 12 + 4);
    u32(0);
    t += serie;
    const std::string app1 = std::string("Exif\0\0", 6) + t;
    const std::size_t laenge = app1.size() + 2;
    const std::string segment =
        std::string("\xFF\xE1") + static_cast<char>(laenge >> 8) + static_cast<char>(laenge & 0xFF) + app1;
    return std::string(jpeg.constData(), 2) + segment + std::string(jpeg.constData() + 2, jpeg.size() - 2);
}

// The picture in the format, with a comment when text is given.
inline std::string Kodiert(const QImage& bild, const char* format, const char* text = nullptr) {
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    QImageWriter w(&puffer, format);
    if (text)
        w.setText(QStringLiteral("Comment"), QString::fromLatin1(text));
    w.write(bild);
    return bytes.toStdString();
}

// 1 x 1 pixel, red then blue, looping.
inline std::string AnimiertesGif() {
    return std::string("GIF89a\x01\0\x01\0\x80\0\0\xFF\0\0\0\0\xFF"
                       "\x21\xFF\x0BNETSCAPE2.0\x03\x01\0\0\0"
                       "\x21\xF9\x04\0\x0A\0\0\0\x2C\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0"
                       "\x21\xF9\x04\0\x0A\0\0\0\x2C\0\0\0\0\x01\0\x01\0\0\x02\x02\x4C\x01\0\x3B",
                       85);
}

} // namespace velmaro::test
