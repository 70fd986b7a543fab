#include "toolkit/Jpeg.h"

#include "platform/Cp1250.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include <jpeglib.h>

namespace {

struct TJpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void onJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1); }
void onJpegMessage(j_common_ptr) {}

}  // namespace

QImage imgFunDecodeJpeg(const unsigned char* data, std::size_t size) {
  if (!data || size == 0) return {};
  jpeg_decompress_struct info {};
  TJpegError error {};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = onJpegError;
  error.manager.output_message = onJpegMessage;
  // Everything that must survive a longjmp lives outside this frame's locals
  // that change after setjmp.
  QImage* volatile result = new QImage;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    delete result;
    return {};
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  *result = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = result->scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  QImage image = result->convertToFormat(QImage::Format_RGB32);
  delete result;
  return image;
}

QImage imgFunLoadJpegFile(const std::string& path) {
  std::ifstream in(cp1250ToUtf8(path), std::ios::binary);
  if (!in) return {};
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return imgFunDecodeJpeg(bytes.data(), bytes.size());
}
