// The libjpeg wrapper: the blank pictures decode to what was drawn, and no
// damaged file gets past it or brings it down.
#include "platform/Cp1250.h"
#include "render/jpeg/JpegImage.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

const std::string kBlank = std::string(TARVEK_BUILT_PROGRAM_DIR) + "/blanki/swiadectwo_a_str1_wyr.jpg";

QByteArray blankBytes() {
  const std::string bytes = readText(kBlank);
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool near(QRgb c, int r, int g, int b, int tolerance) {
  return std::abs(qRed(c) - r) <= tolerance && std::abs(qGreen(c) - g) <= tolerance &&
         std::abs(qBlue(c) - b) <= tolerance;
}

// Offset of the frame header (SOF0/1/2) of a JPEG stream.
qsizetype frameHeader(const QByteArray& jpeg) {
  for (qsizetype i = 2; i + 1 < jpeg.size(); ++i)
    if (static_cast<uchar>(jpeg[i]) == 0xFF && (static_cast<uchar>(jpeg[i + 1]) & 0xFC) == 0xC0) return i;
  return -1;
}

}  // namespace

TEST(JpegDecode, BlankPictureDecodesAsRgbWithItsColours) {
  std::string error;
  const QImage image = jpeg::readJpegFile(kBlank, &error);
  ASSERT_FALSE(image.isNull()) << error;
  EXPECT_EQ(image.format(), QImage::Format_RGB888);
  EXPECT_EQ(image.size(), QSize(717, 1053));
  EXPECT_TRUE(near(image.pixel(30, 600), 212, 33, 61, 12));     // the red of the band
  EXPECT_TRUE(near(image.pixel(8, 600), 255, 255, 255, 6));     // the white of the band
  EXPECT_TRUE(near(image.pixel(100, 300), 250, 248, 237, 6));   // paper
}

TEST(JpegCodec, RoundTripKeepsSizeAndColours) {
  QImage rgb(64, 40, QImage::Format_RGB32);
  rgb.fill(QColor(20, 120, 200));
  for (int x = 32; x < 64; ++x)
    for (int y = 0; y < 40; ++y) rgb.setPixel(x, y, qRgb(240, 230, 10));
  QImage grey(33, 17, QImage::Format_Grayscale8);
  grey.fill(90);

  for (const QImage& source : {rgb, grey}) {
    QByteArray bytes;
    std::string error;
    ASSERT_TRUE(jpeg::encodeJpeg(source, 95, bytes, &error)) << error;
    const QImage back = jpeg::decodeJpeg(bytes, &error);
    ASSERT_FALSE(back.isNull()) << error;
    EXPECT_EQ(back.size(), source.size());
    EXPECT_EQ(back.format(), QImage::Format_RGB888);
    for (const QPoint at : {QPoint(4, 4), QPoint(source.width() - 4, source.height() - 4)}) {
      const QRgb want = source.pixel(at);
      EXPECT_TRUE(near(back.pixel(at), qRed(want), qGreen(want), qBlue(want), 6)) << at.x() << "," << at.y();
    }
  }
}

// A CMYK picture as print shops write it (Adobe's inverted CMYK), one
// colour all over, written with libjpeg directly.
QByteArray cmykJpeg(int width, int height, const JSAMPLE (&ink)[4]) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row;
  for (int x = 0; x < width; ++x) row.insert(row.end(), ink, ink + 4);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&cinfo, &line, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
  std::free(buffer);
  return bytes;
}

TEST(JpegDecode, CmykPictureComesOutAsRgb) {
  const JSAMPLE red[4] = {255, 0, 0, 255};  // inverted: no cyan, full magenta and yellow, no black
  std::string error;
  const QImage image = jpeg::decodeJpeg(cmykJpeg(16, 8, red), &error);
  ASSERT_FALSE(image.isNull()) << error;
  EXPECT_EQ(image.size(), QSize(16, 8));
  EXPECT_TRUE(near(image.pixel(8, 4), 255, 0, 0, 8));
}

struct Damage {
  const char* what;
  std::function<QByteArray(QByteArray)> apply;
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.what; }

class DamagedJpeg : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedJpeg, FailsCleanlyWithAReason) {
  const QByteArray damaged = GetParam().apply(blankBytes());
  std::string error;
  const QImage image = jpeg::decodeJpeg(damaged, &error);
  EXPECT_TRUE(image.isNull());
  EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedJpeg,
    ::testing::Values(
        Damage{"empty", [](QByteArray) { return QByteArray(); }},
        Damage{"not a JPEG", [](QByteArray) { return QByteArray("BM this is no picture at all"); }},
        Damage{"start marker only", [](QByteArray b) { return b.left(2); }},
        Damage{"headers without data", [](QByteArray b) { return b.left(frameHeader(b) + 40); }},
        Damage{"cut in half", [](QByteArray b) { return b.left(b.size() / 2); }},
        Damage{"end marker lost", [](QByteArray b) { return b.left(b.size() - 2); }},
        Damage{"claims 65000 x 65000 pixels", [](QByteArray b) {
                 const qsizetype sof = frameHeader(b);
                 for (const qsizetype at : {sof + 5, sof + 7}) {  // height, then width
                   b[at] = static_cast<char>(0xFD);
                   b[at + 1] = static_cast<char>(0xE8);
                 }
                 return b;
               }}));

TEST(JpegFiles, MissingOrUnwritablePathIsAnErrorNamingThePath) {
  TempFolders dirs;
  const std::string missing = cp1250FromUtf8(dirs.root()) + cp1250("/brak/świadectwo.jpg");
  std::string error;
  EXPECT_TRUE(jpeg::readJpegFile(missing, &error).isNull());
  EXPECT_NE(error.find(missing), std::string::npos) << error;

  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::white);
  error.clear();
  EXPECT_FALSE(jpeg::writeJpegFile(image, 90, missing, &error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;

  const std::string fine = cp1250FromUtf8(dirs.root()) + cp1250("/świadectwo.jpg");
  ASSERT_TRUE(jpeg::writeJpegFile(image, 90, fine, &error)) << error;
  EXPECT_EQ(jpeg::readJpegFile(fine, &error).size(), QSize(8, 8));
  QByteArray none;
  EXPECT_FALSE(jpeg::encodeJpeg(QImage(), 90, none, &error));
}
