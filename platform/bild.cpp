#include "platform/bild.h"

#include "platform/file.h"

#include <QBuffer>
#include <QByteArray>
#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <cmath>

namespace velmaro {

namespace {

// Only the pixels: an image made from the bare scan lines carries no text, no offset and no colour
// profile of the original.
QImage nurPixel(QImage bild) {
    if (bild.colorSpace().isValid() && bild.colorSpace() != QColorSpace::SRgb)
        bild.convertToColorSpace(QColorSpace::SRgb);
    const QImage roh(bild.constBits(), bild.width(), bild.height(), bild.bytesPerLine(), bild.format());
    QImage kopie = roh.copy();
    if (bild.format() == QImage::Format_Indexed8 || bild.format() == QImage::Format_Mono ||
        bild.format() == QImage::Format_MonoLSB)
        kopie.setColorTable(bild.colorTable());
    return kopie;
}

} // namespace

bool BildUmwandeln(const std::filesystem::path& quelle, const std::filesystem::path& ziel,
                   std::string& fehler) {
    std::string bytes;
    int err = 0;
    if (!readWholeFile(quelle, bytes, UINT64_MAX, &err)) {
        fehler = err == ENOENT || err == ENOTDIR ? std::string("Datei fehlt") : leseGrund(err);
        return false;
    }
    QByteArray daten = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer puffer(&daten);
    puffer.open(QIODevice::ReadOnly);
    QImageReader leser(&puffer);
    const QByteArray format = leser.format();
    if (format.isEmpty()) {
        fehler = "kein Bild im Format JPEG, PNG, GIF oder WebP";
        return false;
    }
    if (format == "gif")
        return replaceFile(ziel, bytes, 0644, fehler);

    // Decoding at the target size is much faster for large JPEGs than scaling afterwards.
    leser.setAutoTransform(true);
    const QSize gespeichert = leser.size();
    const bool quer = leser.transformation() & QImageIOHandler::TransformationRotate90;
    const int breite = quer ? gespeichert.height() : gespeichert.width();
    if (gespeichert.isValid() && breite > kBildBreiteMax) {
        const double faktor = static_cast<double>(kBildBreiteMax) / breite;
        const auto masz = [&](int n) { return std::max(1, static_cast<int>(std::lround(n * faktor))); };
        QSize klein(masz(gespeichert.width()), masz(gespeichert.height()));
        (quer ? klein.rheight() : klein.rwidth()) = kBildBreiteMax;
        leser.setScaledSize(klein);
    }
    QImage bild = leser.read();
    if (bild.isNull()) {
        fehler = "Bild kann nicht gelesen werden (" + leser.errorString().toStdString() + ")";
        return false;
    }
    // Handlers that cannot scale while decoding leave it to here.
    if (bild.width() > kBildBreiteMax)
        bild = bild.scaledToWidth(kBildBreiteMax, Qt::SmoothTransformation);

    QByteArray aus;
    QBuffer ausPuffer(&aus);
    ausPuffer.open(QIODevice::WriteOnly);
    QImageWriter schreiber(&ausPuffer, format);
    if (format == "jpeg" || format == "webp")
        schreiber.setQuality(kJpegQualitaet);
    if (!schreiber.write(nurPixel(bild))) {
        fehler = "Bild kann nicht geschrieben werden (" + schreiber.errorString().toStdString() + ")";
        return false;
    }
    return replaceFile(ziel, std::string_view(aus.constData(), static_cast<std::size_t>(aus.size())), 0644,
                       fehler);
}

} // namespace velmaro
