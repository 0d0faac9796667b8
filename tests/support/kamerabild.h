#pragma once
// Pictures as cameras and editors leave them, made in the test: a JPEG taken sideways (EXIF
// orientation 6) with a camera serial, and a two-frame animated GIF.

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <string>

namespace velmaro::test {

inline constexpr const char* kKameraSerie = "SERIE-4711-XZ";

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

// breite x hoehe as stored: left half red, right half blue. Shown upright (turned 90 degrees
// clockwise) it is hoehe wide, red on top.
inline std::string KameraJpeg(int breite, int hoehe) {
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    bild.fill(Qt::blue);
    QPainter(&bild).fillRect(0, 0, breite / 2, hoehe, Qt::red);
    const std::string jpeg = Kodiert(bild, "jpeg");
    // APP1: Exif, then little-endian TIFF whose IFD0 holds Orientation 6 and the CameraSerialNumber.
    const std::string exif("\xFF\xE1\0\x3C"
                           "Exif\0\0II*\0\x08\0\0\0\x02\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0"
                           "\x2F\xC6\x02\0\x0E\0\0\0\x26\0\0\0\0\0\0\0",
                           48);
    return jpeg.substr(0, 2) + exif + kKameraSerie + '\0' + jpeg.substr(2);
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
