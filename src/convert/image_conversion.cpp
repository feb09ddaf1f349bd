// bmp and png through QImage. The image is saved as it was loaded: an indexed
// image stays indexed with its colour table, nothing is scaled. The new file
// is complete before the source is deleted.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <climits>

#include "convert/bmp_alpha.h"
#include "convert/conversion.h"
#include "convert/convert_walk.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/win_path.h"

namespace qv5 {
namespace {

using convert::Pass;

const char* WriterFormat(const std::string& destination) {
    if (EndsWithIgnoringCase(destination, "png")) return "PNG";
    if (EndsWithIgnoringCase(destination, "bmp")) return "BMP";
    return nullptr;
}

// Depth first in listing order: every file whose name ends in `from` (dot or
// not), system files too. After a stop the walk goes on only to name the
// sources it keeps.
void ImageWalk(Pass& pass, const std::string& folder_in, const char* from, const char* to) {
    const std::string folder = WinPath(folder_in).AsFolder().text();
    for (const DirEntry& e : convert::ListEntries(folder)) {
        if (e.directory)
            ImageWalk(pass, WinPath(folder).Join(e.name).AsFolder().text(), from, to);
        else if (EndsWithIgnoringCase(e.name, from))
            convert::ConvertOneImage(pass, folder, e.name, convert::ReplaceLastThree(e.name, to));
    }
}

ConversionReport RunImagePass(const std::string& folder, Progress& progress, const char* from,
                              const char* to) {
    Pass pass(progress);
    ImageWalk(pass, folder, from, to);
    return std::move(pass.report());
}

}  // namespace

bool ConvertImageFile(const std::string& source, const std::string& destination) {
    const char* format = WriterFormat(destination);
    if (!format) return false;
    std::string bytes;
    if (!ReadWholeFile(source, bytes) || bytes.size() > static_cast<size_t>(INT_MAX)) return false;
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size())) ||
        image.isNull())
        return false;
    image = convert::WithBmpAlpha(image, bytes);
    QByteArray encoded;
    if (format == std::string_view("BMP") && convert::HasTransparency(image)) {
        encoded = convert::EncodeBmpWithAlpha(image);
    } else {
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, format)) return false;
    }
    if (encoded.isEmpty()) return false;
    // A file of that name in another case is the one replaced, as on the
    // case-blind file systems the songs come from.
    const std::string folder = WinPath(destination).Parent().text();
    const std::string name = WinPath(destination).LastName();
    const std::string target = folder + convert::FindIgnoringCase(folder, name).value_or(name);
    if (!WriteFileAtomic(target, std::string_view(encoded.constData(), encoded.size())))
        return false;
    DeletePath(source);
    return true;
}

namespace convert {

void ConvertOneImage(Pass& pass, const std::string& folder, const std::string& name,
                     const std::string& destination_name) {
    const std::string path = folder + name;
    if (!pass.BeginSource(path)) return;
    if (pass.Produced(folder, destination_name) ||
        !ConvertImageFile(path, folder + destination_name)) {
        pass.Kept(path);
        return;
    }
    pass.MarkProduced(folder, destination_name);
    if (PathExists(path))
        pass.Kept(path);  // written, but the source could not be deleted
    else
        pass.Converted();
}

}  // namespace convert

ConversionReport ConvertBmpToPng(const std::string& folder, Progress& progress) {
    return RunImagePass(folder, progress, "bmp", "png");
}

ConversionReport ConvertPngToBmp(const std::string& folder, Progress& progress) {
    return RunImagePass(folder, progress, "png", "bmp");
}

}  // namespace qv5
