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

} // namespace

PngRows::PngRows(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0)
        throw Error("The picture could not be encoded as PNG: it has no pixels");
    rowStride_ = FirstPixel + static_cast<std::size_t>(width) * sizeof(Rgb8);
    size_ = rowStride_ * static_cast<std::size_t>(height);
    // Left uninitialised, as whoever draws the picture writes every pixel;
    // zero-filling a megabyte costs as much as filling it.
    data_ = std::make_unique_for_overwrite<std::uint8_t[]>(size_);
    populateMemory(data_.get(), size_);  // all of it is written; the compressed buffer is only in part
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y)
        data_[y * rowStride_] = NoFilter;
}

namespace {

// The PNG file's bytes for the rows. Throws Error when they cannot be
// compressed.
std::vector<std::uint8_t> encodePng(const PngRows& rows) {
    const std::span<const std::uint8_t> input = rows.bytes();
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(FastestLevel));
    if (!compressor)
        throw Error("The picture could not be encoded as PNG: not enough memory for the compressor");
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), input.size());
    const auto compressed = std::make_unique_for_overwrite<std::uint8_t[]>(bound);
    const std::size_t size =
        libdeflate_zlib_compress(compressor.get(), input.data(), input.size(), compressed.get(), bound);
    if (size == 0)
        throw Error("The picture could not be encoded as PNG: the compressed rows do not fit");

    std::vector<std::uint8_t> header;
    putBigEndian32(header, static_cast<std::uint32_t>(rows.width()));
    putBigEndian32(header, static_cast<std::uint32_t>(rows.height()));
    header.insert(header.end(), {8, ColourTypeRgb, 0, 0, 0});  // 8 bits, deflate, no interlace

    std::vector<std::uint8_t> png(Signature.begin(), Signature.end());
    png.reserve(size + 64);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", {compressed.get(), size});
    appendChunk(png, "IEND", {});
    return png;
}

PngRows rowsOf(int width, int height, std::span<const Rgb8> pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw Error("The picture could not be encoded as PNG: it has no pixels");
    PngRows rows(width, height);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(Rgb8);
    const auto* source = reinterpret_cast<const std::uint8_t*>(pixels.data());
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y)
        std::copy_n(source + y * rowBytes, rowBytes, rows.bytes().data() + y * rows.rowStride() + PngRows::FirstPixel);
    return rows;
}

} // namespace

void writePng(const std::filesystem::path& path, const PngRows& rows) {
    const std::vector<std::uint8_t> png = encodePng(rows);
    PendingFile out(path, PendingFile::Durability::Never);
    out.file().writeAt(0, png);
    out.commit();
}

void writeRgbPng(const std::filesystem::path& path, int width, int height, std::span<const Rgb8> pixels) {
    writePng(path, rowsOf(width, height, pixels));
}

} // namespace stonereach::cli
