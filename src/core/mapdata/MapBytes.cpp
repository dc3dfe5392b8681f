#include "mapdata/MapBytes.h"

#include <string>

#include "mapdata/Errors.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

namespace {

std::string byteRun(std::size_t count, std::uint64_t offset) {
    return std::to_string(count) + " bytes at map offset " + std::to_string(offset);
}

// A container's plain form ends with its pieces; nothing may reach past them.
void requireInsidePieces(const ByteSource& file, const MapExtents& extents, std::uint64_t offset, std::size_t count,
                         const char* verb) {
    if (extents.isWholeFile())
        return;
    const std::uint64_t length = extents.piecesLength();
    if (offset > length || count > length - offset)
        throw IoError(file.sourceName(), std::string("Cannot ") + verb + " " + byteRun(count, offset) +
                                                ": the map's entries end at " + std::to_string(length));
}

void writePieces(File& file, const MapExtents& extents, std::uint64_t offset, std::span<const std::uint8_t> data,
                 std::uint64_t& written) {
    extents.split(offset, data.size(), [&](std::uint64_t at, std::uint64_t from, std::uint64_t count) {
        try {
            file.writeAt(at, data.subspan(static_cast<std::size_t>(from), static_cast<std::size_t>(count)));
        } catch (const WriteError& e) {
            written = from + e.stored();
            throw;
        }
        written = from + count;
    });
}

// After a write stopped `written` bytes into data: writes the rest of the
// block it stopped in (as far as the data goes), so no cell or header is
// left half new. A failure here changes nothing of what is reported.
void finishCutBlock(File& file, const MapExtents& extents, std::uint64_t offset, std::span<const std::uint8_t> data,
                    std::uint64_t written) {
    const std::uint64_t stop = offset + written;
    if (written >= data.size() || stop % MapLayout::BlockSize == 0)
        return;
    const std::uint64_t blockEnd = (stop / MapLayout::BlockSize + 1) * MapLayout::BlockSize;
    const std::uint64_t end = std::min<std::uint64_t>(offset + data.size(), blockEnd);
    try {
        std::uint64_t ignored = 0;
        writePieces(file, extents, stop, data.subspan(static_cast<std::size_t>(written), static_cast<std::size_t>(end - stop)),
                    ignored);
    } catch (const IoError&) {
        // The first error is the one to report.
    }
}

// Lengthens a whole-file map to `length` with its space taken; a failure
// leaves the file at the length it had.
void reserveWholeFile(File& file, std::uint64_t length) {
    const std::uint64_t before = file.size();
    if (length <= before)
        return;
    try {
        file.allocate(length);
    } catch (const IoError&) {
        try {
            if (file.size() != before)
                file.resize(before);
        } catch (const IoError&) {
            // The first error is the one to report.
        }
        throw;
    }
}

} // namespace

MapExtents::MapExtents(std::vector<Extent> pieces) : pieces_(std::move(pieces)), pieced_(true) {}

std::uint64_t plainMapLength(const ByteSource& file, const MapExtents& extents) {
    return extents.isWholeFile() ? file.size() : extents.piecesLength();
}

std::size_t readMapBytesUpTo(const ByteSource& file, const MapExtents& extents, std::uint64_t offset,
                             std::span<std::uint8_t> out) {
    if (extents.isWholeFile())
        return file.readUpTo(offset, out);
    const std::uint64_t length = extents.piecesLength();
    if (offset >= length)
        return 0;
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), length - offset));
    readMapBytes(file, extents, offset, out.first(count));
    return count;
}

void readMapBytes(const ByteSource& file, const MapExtents& extents, std::uint64_t offset, std::span<std::uint8_t> out) {
    if (extents.isWholeFile()) {
        file.readAt(offset, out);
        return;
    }
    requireInsidePieces(file, extents, offset, out.size(), "read");
    extents.split(offset, out.size(), [&](std::uint64_t at, std::uint64_t from, std::uint64_t count) {
        file.readAt(at, out.subspan(static_cast<std::size_t>(from), static_cast<std::size_t>(count)));
    });
}

void writeMapBytes(File& file, const MapExtents& extents, std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (data.empty())
        return;
    requireInsidePieces(file, extents, offset, data.size(), "write");
    if (extents.isWholeFile())
        reserveWholeFile(file, offset + data.size());
    std::uint64_t written = 0;
    try {
        writePieces(file, extents, offset, data, written);
    } catch (const WriteError&) {
        finishCutBlock(file, extents, offset, data, written);
        throw;
    }
}

void reserveMapBytes(File& file, const MapExtents& extents, std::uint64_t length) {
    if (extents.isWholeFile()) {
        reserveWholeFile(file, length);
        return;
    }
    if (length > extents.piecesLength())
        throw IoError(file.path().string(), "The map's entries hold " + std::to_string(extents.piecesLength()) +
                                                " bytes; " + std::to_string(length) + " are needed, and a container's "
                                                "entries cannot grow");
}

} // namespace stonereach
