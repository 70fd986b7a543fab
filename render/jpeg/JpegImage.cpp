#include "render/jpeg/JpegImage.h"

#include "platform/Cp1250.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include <jpeglib.h>

namespace jpeg {
namespace {

// libjpeg reports errors through a callback that must not return; we jump
// back to the routine that started the work. Everything that lives across
// the jump is a member of a job object reached through a reference, so no
// local variable of the jumping frame is read after the jump.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void jumpWithMessage(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Trace messages (level > 0) are ignored; a warning (level < 0) means the
// data is damaged and ends the work like an error.
void onMessage(j_common_ptr cinfo, int level) {
  if (level < 0) jumpWithMessage(cinfo);
}

void setUp(jpeg_error_mgr& pub, ErrorManager& err) {
  jpeg_std_error(&pub);
  pub.error_exit = jumpWithMessage;
  pub.emit_message = onMessage;
  err.message[0] = '\0';
}

void setError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

struct DecodeJob {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  QImage image;
  std::vector<JSAMPLE> row;  // one CMYK row
  std::string failure;       // our own reason, when not libjpeg's
};

// CMYK as Adobe writes it (inverted) is what libjpeg hands back for CMYK
// and YCCK files; without a colour profile the plain formula is enough.
void cmykRowToRgb(const JSAMPLE* cmyk, uchar* rgb, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    rgb[0] = static_cast<uchar>(c * k / 255);
    rgb[1] = static_cast<uchar>(m * k / 255);
    rgb[2] = static_cast<uchar>(y * k / 255);
  }
}

bool runDecode(DecodeJob& job, const unsigned char* data, unsigned long size) {
  job.cinfo.err = &job.err.pub;
  setUp(job.err.pub, job.err);
  if (setjmp(job.err.jump)) {
    jpeg_destroy_decompress(&job.cinfo);
    job.image = QImage();
    return false;
  }
  jpeg_create_decompress(&job.cinfo);
  jpeg_mem_src(&job.cinfo, data, size);
  jpeg_read_header(&job.cinfo, TRUE);

  const bool cmyk = job.cinfo.jpeg_color_space == JCS_CMYK || job.cinfo.jpeg_color_space == JCS_YCCK;
  job.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_calc_output_dimensions(&job.cinfo);
  const long long pixels = static_cast<long long>(job.cinfo.output_width) * job.cinfo.output_height;
  if (pixels > kMaxPixels) {
    job.failure = cp1250("Obraz JPEG jest zbyt duży: ") + std::to_string(job.cinfo.output_width) + " x " +
                  std::to_string(job.cinfo.output_height) + ".";
    jpeg_destroy_decompress(&job.cinfo);
    return false;
  }
  jpeg_start_decompress(&job.cinfo);

  const int width = static_cast<int>(job.cinfo.output_width);
  const int height = static_cast<int>(job.cinfo.output_height);
  job.image = QImage(width, height, QImage::Format_RGB888);
  if (job.image.isNull()) {
    job.failure = cp1250("Brak pamięci na obraz JPEG.");
    jpeg_destroy_decompress(&job.cinfo);
    return false;
  }
  if (cmyk) job.row.resize(static_cast<size_t>(width) * 4);
  const bool inverted = job.cinfo.saw_Adobe_marker;
  while (job.cinfo.output_scanline < job.cinfo.output_height) {
    uchar* line = job.image.scanLine(static_cast<int>(job.cinfo.output_scanline));
    JSAMPROW target = cmyk ? job.row.data() : line;
    jpeg_read_scanlines(&job.cinfo, &target, 1);
    if (cmyk) cmykRowToRgb(job.row.data(), line, width, inverted);
  }
  jpeg_finish_decompress(&job.cinfo);
  jpeg_destroy_decompress(&job.cinfo);
  return true;
}

struct EncodeJob {
  jpeg_compress_struct cinfo{};
  ErrorManager err{};
  QImage source;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

bool runEncode(EncodeJob& job, int quality) {
  job.cinfo.err = &job.err.pub;
  setUp(job.err.pub, job.err);
  if (setjmp(job.err.jump)) {
    jpeg_destroy_compress(&job.cinfo);
    return false;
  }
  jpeg_create_compress(&job.cinfo);
  jpeg_mem_dest(&job.cinfo, &job.buffer, &job.size);
  const bool grey = job.source.format() == QImage::Format_Grayscale8;
  job.cinfo.image_width = static_cast<JDIMENSION>(job.source.width());
  job.cinfo.image_height = static_cast<JDIMENSION>(job.source.height());
  job.cinfo.input_components = grey ? 1 : 3;
  job.cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&job.cinfo);
  jpeg_set_quality(&job.cinfo, quality, TRUE);
  job.cinfo.optimize_coding = TRUE;
  job.cinfo.comp_info[0].h_samp_factor = 1;  // 4:4:4
  job.cinfo.comp_info[0].v_samp_factor = 1;
  jpeg_start_compress(&job.cinfo, TRUE);
  while (job.cinfo.next_scanline < job.cinfo.image_height) {
    // libjpeg takes non-const rows but only reads them.
    JSAMPROW row = const_cast<JSAMPROW>(job.source.constScanLine(static_cast<int>(job.cinfo.next_scanline)));
    jpeg_write_scanlines(&job.cinfo, &row, 1);
  }
  jpeg_finish_compress(&job.cinfo);
  jpeg_destroy_compress(&job.cinfo);
  return true;
}

}  // namespace

QImage decodeJpeg(const QByteArray& data, std::string* error) {
  if (data.isEmpty()) {
    setError(error, cp1250("Uszkodzony obraz JPEG: plik jest pusty."));
    return {};
  }
  DecodeJob job;
  if (!runDecode(job, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()))) {
    setError(error, job.failure.empty() ? cp1250("Uszkodzony obraz JPEG: ") + job.err.message : job.failure);
    return {};
  }
  return job.image;
}

QImage readJpegFile(const std::string& path, std::string* error) {
  std::ifstream in(cp1250ToUtf8(path), std::ios::binary);
  if (!in) {
    setError(error, cp1250("Nie można otworzyć pliku: ") + path);
    return {};
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) {
    setError(error, cp1250("Nie można odczytać pliku: ") + path);
    return {};
  }
  return decodeJpeg(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), error);
}

bool encodeJpeg(const QImage& image, int quality, QByteArray& out, std::string* error) {
  if (image.isNull()) {
    setError(error, cp1250("Brak obrazu do zapisania."));
    return false;
  }
  EncodeJob job;
  job.source = image.format() == QImage::Format_Grayscale8 ? image : image.convertToFormat(QImage::Format_RGB888);
  const bool ok = runEncode(job, quality < 1 ? 1 : quality > 100 ? 100 : quality);
  if (ok) out = QByteArray(reinterpret_cast<const char*>(job.buffer), static_cast<qsizetype>(job.size));
  else setError(error, cp1250("Błąd kodowania obrazu JPEG: ") + job.err.message);
  std::free(job.buffer);
  return ok;
}

bool writeJpegFile(const QImage& image, int quality, const std::string& path, std::string* error) {
  QByteArray bytes;
  if (!encodeJpeg(image, quality, bytes, error)) return false;
  std::ofstream out(cp1250ToUtf8(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.constData(), bytes.size());
  out.close();
  if (!out) {
    setError(error, cp1250("Nie można zapisać pliku: ") + path);
    return false;
  }
  return true;
}

}  // namespace jpeg
