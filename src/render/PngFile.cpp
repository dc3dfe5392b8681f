#include "render/PngFile.h"

#include <span>

#include <QBuffer>
#include <QByteArray>

#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"

namespace stonereach {

void writePngFile(const QImage& image, const std::filesystem::path& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        throw IoError(path.string(), "The picture could not be encoded as PNG");
    PendingFile out(path, PendingFile::Durability::Never);
    out.file().writeAt(0, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())));
    out.commit();
}

} // namespace stonereach
