#include "convert/bmp_alpha.h"

#include <cstdint>
#include <cstdlib>

namespace qv5::convert {
namespace {

std::uint32_t Read(std::string_view b, size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

void Put(QByteArray& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

bool HasTransparency(const QImage& image) {
    if (!image.hasAlphaChannel()) return false;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(row[x]) != 255) return true;
    }
    return false;
}

QByteArray EncodeBmpWithAlpha(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const std::uint32_t pixels = static_cast<std::uint32_t>(argb.width()) * argb.height() * 4;
    QByteArray out;
    out.reserve(54 + pixels);
    out.append("BM");
    Put(out, 54 + pixels, 4);
    Put(out, 0, 4);
    Put(out, 54, 4);
    Put(out, 40, 4);
    Put(out, argb.width(), 4);
    Put(out, argb.height(), 4);
    Put(out, 1, 2);   // planes
    Put(out, 32, 2);  // bits per pixel
    Put(out, 0, 4);   // BI_RGB
    Put(out, pixels, 4);
    Put(out, 2835, 4);  // 72 dots per inch
    Put(out, 2835, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    for (int y = argb.height() - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            out.append(static_cast<char>(qBlue(row[x])));
            out.append(static_cast<char>(qGreen(row[x])));
            out.append(static_cast<char>(qRed(row[x])));
            out.append(static_cast<char>(qAlpha(row[x])));
        }
    }
    return out;
}

QImage WithBmpAlpha(const QImage& loaded, std::string_view file) {
    if (file.size() < 54 || file.substr(0, 2) != "BM" || Read(file, 14, 4) < 40 ||
        Read(file, 28, 2) != 32 || Read(file, 30, 4) != 0)
        return loaded;
    const std::int64_t width = static_cast<std::int32_t>(Read(file, 18, 4));
    const std::int64_t height = static_cast<std::int32_t>(Read(file, 22, 4));
    const std::uint32_t offset = Read(file, 10, 4);
    if (width != loaded.width() || std::llabs(height) != loaded.height() ||
        offset + width * std::llabs(height) * 4 > static_cast<std::int64_t>(file.size()))
        return loaded;
    QImage argb = loaded.convertToFormat(QImage::Format_ARGB32);
    bool any = false;
    for (std::int64_t row = 0; row < argb.height(); ++row) {
        // Rows are stored bottom-up unless the height is negative.
        const int y = static_cast<int>(height > 0 ? argb.height() - 1 - row : row);
        QRgb* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (std::int64_t x = 0; x < width; ++x) {
            const int a = static_cast<unsigned char>(file[offset + (row * width + x) * 4 + 3]);
            any = any || a != 0;
            line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), a);
        }
    }
    return any ? argb : loaded;
}

}  // namespace qv5::convert
