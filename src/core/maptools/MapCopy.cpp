#include "maptools/MapCopy.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/MapFile.h"
#include "mapdata/MapLayout.h"
#include "maptools/WholeBlockCopy.h"

namespace stonereach {

namespace {

constexpr int Side = MapLayout::BlockSide;

// Runs of consecutive blocks of a map file, one run per block column, held in
// memory while a batch of cells is copied and then written back whole. Within
// one column run the blocks lie next to each other in the file, so each run is
// one read and one write.
class BlockColumnRuns {
public:
    BlockColumnRuns(MapFile& file, int blockHeight) : file_(file), blockHeight_(blockHeight) {}

    // Makes block rows firstRow..lastRow of block column bx part of the batch.
    void require(int bx, int firstRow, int lastRow) { wanted_[bx].include(firstRow, lastRow); }

    void load() {
        for (auto& [bx, range] : wanted_) {
            Run& run = runs_[bx];
            run.firstRow = range.first;
            if (run.bytes.empty() && !spare_.empty()) {
                run.bytes = std::move(spare_.back());
                spare_.pop_back();
            }
            run.bytes.resize(static_cast<std::size_t>(range.last - range.first + 1) * MapLayout::BlockSize);
            file_.readAt(blockOffset(bx, range.first, blockHeight_), run.bytes);
        }
    }

    // The cells of map column x within a loaded run.
    class Column {
    public:
        Column(std::uint8_t* bytes, int firstRow, int x) : bytes_(bytes), firstRow_(firstRow), cx_(x % Side) {}
        // The 3 bytes of the cell in row y.
        std::uint8_t* cell(int y) const {
            const auto block = static_cast<std::size_t>(y / Side - firstRow_);
            return bytes_ + block * MapLayout::BlockSize + cellOffsetInBlock(cx_, y % Side);
        }

    private:
        std::uint8_t* bytes_;
        int firstRow_;
        int cx_;
    };

    Column column(int x) {
        Run& run = runs_.find(x / Side)->second;
        return Column(run.bytes.data(), run.firstRow, x);
    }

    void writeBack() {
        for (auto& [bx, run] : runs_)
            file_.writeAt(blockOffset(bx, run.firstRow, blockHeight_), run.bytes);
    }

    // Forgets the batch; the buffers are kept for the next one, so a long
    // copy does not fault in fresh memory for every block column.
    void clear() {
        wanted_.clear();
        for (auto& [bx, run] : runs_)
            spare_.push_back(std::move(run.bytes));
        runs_.clear();
    }

private:
    struct Range {
        int first = -1;
        int last = -1;
        void include(int a, int b) {
            first = first < 0 ? a : std::min(first, a);
            last = std::max(last, b);
        }
    };
    struct Run {
        int firstRow = 0;
        std::vector<std::uint8_t> bytes;
    };

    MapFile& file_;
    int blockHeight_;
    std::map<int, Range> wanted_;
    std::map<int, Run> runs_;
    std::vector<std::vector<std::uint8_t>> spare_;
};

void checkRequest(const MapCopyRequest& r, const MapCopySide& source, const MapCopySide& destination) {
    const bool valid = mapCopySourceValid(r.x1, source.maxX) && mapCopySourceValid(r.x2, source.maxX) &&
                       mapCopySourceValid(r.y1, source.maxY) && mapCopySourceValid(r.y2, source.maxY) &&
                       mapCopyDestinationValid(r.dx, r.x1, r.x2, destination.maxX) &&
                       mapCopyDestinationValid(r.dy, r.y1, r.y2, destination.maxY);
    if (!valid)
        throw Refusal(std::string(MapCopyTexts::WrongCoordinates));
    if (!source.recognised() || !destination.recognised())
        throw Refusal(std::string(MapCopyTexts::UnknownMap));
    if (r.x1 == 0 && r.y1 == 0 && r.x2 == 0 && r.y2 == 0)
        throw Refusal(std::string(MapCopyTexts::ZeroRectangle));
}

} // namespace

bool mapCopySourceValid(std::int64_t value, int sourceMax) { return value >= 0 && value <= sourceMax; }

bool mapCopyDestinationValid(std::int64_t d, std::int64_t first, std::int64_t second, int destinationMax) {
    return d >= 0 && d <= destinationMax && second + d - first <= destinationMax;
}

MapCopyResult copyMapRectangle(const MapCopyRequest& r, const ProgressCallback& progress) {
    const MapCopySide source = recogniseForMapCopy(r.source);
    const MapCopySide destination = recogniseForMapCopy(r.destination);
    checkRequest(r, source, destination);
    const int hs = *mapCopyBlockHeightOf(source.mapName);
    const int hd = *mapCopyBlockHeightOf(destination.mapName);

    // The source is only read; inside one file a single handle serves both.
    const bool oneFile = sameFile(r.source, r.destination);
    MapFile destinationFile(r.destination, File::Mode::ReadWrite);
    std::optional<MapFile> sourceFile;
    if (!oneFile)
        sourceFile.emplace(r.source, File::Mode::Read);

    report(progress, {}, 0, 100);
    MapCopyResult result;
    if (r.x2 < r.x1 || r.y2 < r.y1)
        return result;
    if (movesByWholeBlocks(r, oneFile)) {
        result.cellsCopied = copyWholeBlocks(r, oneFile ? destinationFile : *sourceFile, hs, destinationFile, hd,
                                             oneFile, progress);
        return result;
    }

    BlockColumnRuns destinationRuns(destinationFile, hd);
    BlockColumnRuns separateSourceRuns(oneFile ? destinationFile : *sourceFile, hs);
    BlockColumnRuns& sourceRuns = oneFile ? destinationRuns : separateSourceRuns;

    const int ox = r.dx - r.x1;
    const int oy = r.dy - r.y1;

    // One batch per source block column: every cell the batch reads or
    // writes is in memory, the cells are copied one by one in the same order
    // as single-cell copies, and the destination runs go back to the file
    // before the next batch reads anything.
    for (int xa = r.x1; xa <= r.x2;) {
        const int xb = std::min(r.x2, (xa / Side) * Side + Side - 1);
        sourceRuns.require(xa / Side, r.y1 / Side, r.y2 / Side);
        for (int bx = (xa + ox) / Side; bx <= (xb + ox) / Side; ++bx)
            destinationRuns.require(bx, (r.y1 + oy) / Side, (r.y2 + oy) / Side);
        if (!oneFile)
            sourceRuns.load();
        destinationRuns.load();

        for (int x = xa; x <= xb; ++x) {
            const auto from = sourceRuns.column(x);
            const auto to = destinationRuns.column(x + ox);
            // Walk both columns row by row: the next row is 24 bytes on inside
            // a block, and the next block's first row at a block boundary.
            constexpr std::ptrdiff_t RowStep = Side * static_cast<std::ptrdiff_t>(MapLayout::CellSize);
            constexpr std::ptrdiff_t BlockStep = static_cast<std::ptrdiff_t>(MapLayout::BlockSize) - (Side - 1) * RowStep;
            const std::uint8_t* s = from.cell(r.y1);
            std::uint8_t* t = to.cell(r.y1 + oy);
            for (int y = r.y1; y <= r.y2; ++y) {
                t[0] = s[0];
                t[1] = s[1];
                t[2] = s[2];
                if (y == r.y2)
                    break;
                s += (y % Side == Side - 1) ? BlockStep : RowStep;
                t += ((y + oy) % Side == Side - 1) ? BlockStep : RowStep;
            }
            result.cellsCopied += static_cast<std::uint64_t>(r.y2 - r.y1 + 1);
            reportCopiedColumn(progress, x, r.x2);
        }

        destinationRuns.writeBack();
        destinationRuns.clear();
        if (!oneFile)
            sourceRuns.clear();
        xa = xb + 1;
    }
    return result;
}

} // namespace stonereach
