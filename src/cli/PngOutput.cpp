#include "cli/PngOutput.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/MemoryPopulation.h"

namespace stonereach::cli {

// The PNG container is written here rather than with libpng because libpng
// compresses with zlib, which on map overviews takes twice as long as
// libdeflate at its fastest level and gives a larger file; for a picture
// compressed whole, in one go, the container is just the signature and three
// chunks, each with a CRC.

namespace {

static_assert(sizeof(Rgb8) == 3, "pixels are copied into the rows as packed RGB bytes");

constexpr std::array<std::uint8_t, 8> Signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int FastestLevel = 1;
constexpr std::uint8_t ColourTypeRgb = 2;
constexpr std::uint8_t NoFilter = 0;

void putBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// Appends a chunk: length, type, data, CRC of type and data.
void appendChunk(std::vector<std::uint8_t>& out, std::string_view type, std::span<const std::uint8_t> data) {
    putBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    const auto crc = libdeflate_crc32(0, &out[typeAt], out.size() - typeAt);
    putBigEndian32(out, crc);
}

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// A buffer left uninitialised: every byte is written before it is read, and
// zero-filling a megabyte costs as much as filling it.
struct Bytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
    explicit Bytes(std::size_t n) : data(std::make_unique_for_overwrite<std::uint8_t[]>(n)), size(n) {}
};

// Each row as PNG stores it: a filter byte, then the row's RGB bytes.
Bytes filteredRows(int width, int height, std::span<const Rgb8> pixels) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(Rgb8);
    Bytes rows((rowBytes + 1) * static_cast<std::size_t>(height));
    populateMemory(rows.data.get(), rows.size);  // all of it is written; the compressed buffer is only in part
    const auto* source = reinterpret_cast<const std::uint8_t*>(pixels.data());
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        std::uint8_t* row = &rows.data[y * (rowBytes + 1)];
        row[0] = NoFilter;
        std::copy_n(source + y * rowBytes, rowBytes, row + 1);
    }
    return rows;
}

} // namespace

std::vector<std::uint8_t> encodeRgbPng(int width, int height, std::span<const Rgb8> pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw Error("The picture could not be encoded as PNG: it has no pixels");

    const Bytes rows = filteredRows(width, height, pixels);
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(FastestLevel));
    if (!compressor)
        throw Error("The picture could not be encoded as PNG: not enough memory for the compressor");
    Bytes compressed(libdeflate_zlib_compress_bound(compressor.get(), rows.size));
    const std::size_t size = libdeflate_zlib_compress(compressor.get(), rows.data.get(), rows.size,
                                                      compressed.data.get(), compressed.size);
    if (size == 0)
        throw Error("The picture could not be encoded as PNG: the compressed rows do not fit");

    std::vector<std::uint8_t> header;
    putBigEndian32(header, static_cast<std::uint32_t>(width));
    putBigEndian32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, ColourTypeRgb, 0, 0, 0});  // 8 bits, deflate, no interlace

    std::vector<std::uint8_t> png(Signature.begin(), Signature.end());
    png.reserve(size + 64);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", {compressed.data.get(), size});
    appendChunk(png, "IEND", {});
    return png;
}

void writeRgbPng(const std::filesystem::path& path, int width, int height, std::span<const Rgb8> pixels) {
    const std::vector<std::uint8_t> png = encodeRgbPng(width, height, pixels);
    PendingFile out(path, PendingFile::Durability::Never);
    out.file().writeAt(0, png);
    out.commit();
}

} // namespace stonereach::cli
