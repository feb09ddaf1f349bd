// 32-bit bitmaps with their alpha bytes, which QImage's bmp codec neither
// writes nor reads: a transparent png becomes such a bitmap (as the Windows
// codecs write it), and reading one back keeps its transparency.
#pragma once

#include <QByteArray>
#include <QImage>
#include <string_view>

namespace qv5::convert {

// True when some pixel is not fully opaque.
bool HasTransparency(const QImage& image);
// A bottom-up 32-bit BI_RGB bitmap holding blue, green, red and alpha.
QByteArray EncodeBmpWithAlpha(const QImage& image);
// `loaded` (as QImage read `file`) with the alpha bytes of a 32-bit BI_RGB
// bitmap applied; unchanged for any other file or when every alpha byte is 0.
QImage WithBmpAlpha(const QImage& loaded, std::string_view file);

}  // namespace qv5::convert
