#include "maptools/MapEnlarger.h"

#include <algorithm>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/IoBuffer.h"
#include "mapdata/MapFile.h"
#include "mapdata/MapIdentity.h"
#include "mapdata/NewMapFile.h"
#include "mapdata/TwoThreadPass.h"

namespace stonereach {

namespace {

constexpr int kBlocksAcross = kEnlargedWidth / MapLayout::BlockSide;
constexpr std::size_t kColumnBytes = static_cast<std::size_t>(kEnlargedBlockHeight) * MapLayout::BlockSize;
constexpr std::uint64_t kEnlargedSize = static_cast<std::uint64_t>(kBlocksAcross) * kColumnBytes;
static_assert(kEnlargedSize == 89915392);

// The progress of one phase is reported per cell column, as "TEXT (N%)" with
// N = x * 100 / last; here x is the last cell column of the block column just
// written.
void reportColumn(const ProgressCallback& progress, const char* text, int bx, int percentBase, int maximum) {
    const int x = bx * MapLayout::BlockSide + MapLayout::BlockSide - 1;
    const std::string label = std::string(text) + " (" + std::to_string(x * 100 / percentBase) + "%)";
    report(progress, label, x, maximum);
}

} // namespace

void enlargeMap(const std::filesystem::path& source, const std::filesystem::path& output,
                const ProgressCallback& progress) {
    const MapVariant* variant = identifyMapFile(source);
    if (variant == nullptr)
        throw Refusal("Wrong source map file!");
    if (sameFile(source, output))
        throw Refusal("The enlarged map cannot be written over its own source map file '" + source.string() +
                      "'. Choose another file name or folder.");

    const MapGeometry sourceGeometry = MapGeometry::of(*variant);
    const int sourceBlocksAcross = sourceGeometry.blocksAcross();
    const int sourceBlockHeight = sourceGeometry.blockHeight;
    const MapFile sourceMap(source, File::Mode::Read);

    // The new file starts as zeros with its space taken (no zeros written), so
    // the columns the source does not reach are done; the others get the
    // source's cells (headers zero, rows below the source zero) while
    // copying. The result is the same as zero-filling the whole file first
    // and then copying cell by cell. A container named for no facet gets
    // the source's.
    report(progress, "Creating new map file", 0, kEnlargedWidth);
    NewMapOptions options;
    options.facet = mapFacetOfName(output.filename().string());
    if (!options.facet)
        options.facet = mapFacetOfName(storedFileName(source));
    NewMapFile out(output, kEnlargedSize, options);
    for (int bx = 0; bx < kBlocksAcross; ++bx)
        reportColumn(progress, "Creating new map file", bx, kEnlargedWidth, kEnlargedWidth);
    report(progress, "Done.", kEnlargedWidth, kEnlargedWidth);

    const int maxX = sourceGeometry.width - 1;
    report(progress, "Copying source map to new map", 0, maxX);
    // Source columns are read straight into a buffer of new columns, which
    // have the same block layout; only the headers are cleared. A source as
    // tall as the new map has its columns where the new file has them, so
    // several go in one read and one write; a shorter one goes a column at a
    // time, and the rows below it are never read into, so they stay zero.
    // Two threads share the batches, each with its own buffer: one reads
    // while the other writes, so reading the source (a container's pieces
    // lie anywhere in a page) is mostly hidden behind writing the new file.
    const std::size_t sourceColumnBytes = static_cast<std::size_t>(sourceBlockHeight) * MapLayout::BlockSize;
    const int perBatch = sourceBlockHeight == kEnlargedBlockHeight
                             ? static_cast<int>(std::max<std::size_t>(1, NewFileWriteBytes / kColumnBytes))
                             : 1;
    const int batches = (sourceBlocksAcross + perBatch - 1) / perBatch;
    const std::size_t batchBytes = kColumnBytes * static_cast<std::size_t>(perBatch);
    TwoThreadPass pass(batches, [&]() -> TwoThreadPass::Worker {
        auto columns = std::make_shared<IoBuffer>(makeIoBuffer(batchBytes));
        std::fill_n(columns->get(), batchBytes, std::uint8_t{0});
        return [&, columns](int batch) {
            const int bx = batch * perBatch;
            const int count = std::min(perBatch, sourceBlocksAcross - bx);
            const std::size_t sourceBytes = sourceColumnBytes * static_cast<std::size_t>(count);
            std::uint8_t* bytes = columns->get();
            sourceMap.readAt(blockOffset(bx, 0, sourceBlockHeight), {bytes, sourceBytes});
            for (std::size_t header = 0; header < sourceBytes; header += MapLayout::BlockSize)
                std::fill_n(bytes + header, MapLayout::BlockHeaderSize, std::uint8_t{0});
            out.writeAt(static_cast<std::uint64_t>(bx) * kColumnBytes, {bytes, kColumnBytes * static_cast<std::size_t>(count)});
        };
    });
    // Each block column is reported once and in order, as far as the
    // batches done reach.
    int reported = 0;
    const auto reportBatchesDone = [&](int done) {
        for (const int upTo = std::min(sourceBlocksAcross, done * perBatch); reported < upTo; ++reported)
            reportColumn(progress, "Copying source map to new map", reported, maxX, maxX);
    };
    pass.finish(reportBatchesDone);
    reportBatchesDone(batches);
    out.commit();
    report(progress, "Done.", 0, maxX);
}

} // namespace stonereach
