#pragma once
// JPEG pictures through libjpeg, to and from QImage. The blank pictures of
// the forms are JPEG files; the windows show them through readJpegFile().
// Paths and error texts are Windows-1250, as everywhere in the program.
#include <QByteArray>
#include <QImage>

#include <string>

namespace jpeg {

// Pictures larger than this many pixels are refused before any memory is
// taken for them (a damaged header can claim 65535 x 65535).
inline constexpr long long kMaxPixels = 64LL * 1024 * 1024;

// Decodes one JPEG picture (baseline or progressive; greyscale, YCbCr, RGB,
// CMYK or YCCK) into a QImage::Format_RGB888 image. On any failure the
// result is a null image and *error (when given) says why. Damaged data is a
// failure, including what libjpeg only warns about (a truncated file, junk
// inside the data): the caller never gets a half-grey picture.
QImage decodeJpeg(const QByteArray& data, std::string* error = nullptr);
QImage readJpegFile(const std::string& path, std::string* error = nullptr);

// Encodes an image at quality 1..100 without chroma subsampling, so fine
// coloured lines stay sharp. A QImage::Format_Grayscale8 image is written
// with one channel, any other format as RGB (alpha is dropped).
bool encodeJpeg(const QImage& image, int quality, QByteArray& out, std::string* error = nullptr);
bool writeJpegFile(const QImage& image, int quality, const std::string& path, std::string* error = nullptr);

}  // namespace jpeg
