#pragma once
// JPEG pictures (the scanned blanks, the wait window's picture), decoded
// with libjpeg. A null image when the data is not a readable JPEG.
#include <QImage>

#include <cstddef>
#include <string>

QImage imgFunDecodeJpeg(const unsigned char* data, std::size_t size);
// The path is Windows-1250, as the program keeps its paths.
QImage imgFunLoadJpegFile(const std::string& path);
