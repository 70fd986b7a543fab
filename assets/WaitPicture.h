#pragma once
// The wait window's picture, a JPEG that the build draws and links in.
#include <cstddef>

extern const unsigned char kWaitPictureJpeg[];
extern const std::size_t kWaitPictureJpegSize;
