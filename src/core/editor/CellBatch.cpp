#include "editor/CellBatch.h"

#include <algorithm>
#include <span>

#include "mapdata/Errors.h"

namespace stonereach {

namespace {

using MapLayout::BlockSide;
using MapLayout::CellSize;

// A run of changed cells: where it lies in the file and in its block.
struct Run {
    std::uint64_t fileOffset;
    std::size_t block;
    std::size_t inBlock;
    std::size_t length;
};

std::uint64_t bit(int x, int y) { return std::uint64_t{1} << ((y % BlockSide) * BlockSide + x % BlockSide); }

} // namespace

CellBatch::CellBatch(MapFile& map, const MapGeometry& geometry) : map_(map), geometry_(geometry) {}

CellBatch::Block& CellBatch::blockOf(int x, int y) {
    requireCellInMap(x, y, geometry_);
    const auto key = static_cast<std::uint32_t>((x / BlockSide) * geometry_.blockHeight + y / BlockSide);
    const auto [at, added] = index_.try_emplace(key, blocks_.size());
    if (added) {
        blocks_.emplace_back();
        keys_.push_back(key);
    }
    return blocks_[at->second];
}

void CellBatch::load(std::uint32_t key, Block& block) {
    const int bx = static_cast<int>(key / static_cast<std::uint32_t>(geometry_.blockHeight));
    const int by = static_cast<int>(key % static_cast<std::uint32_t>(geometry_.blockHeight));
    block.read = map_.readBlock(bx, by, geometry_);
    // Cells set before the block was read keep their new values.
    for (std::size_t cell = 0; cell < MapLayout::CellsPerBlock; ++cell) {
        if ((block.dirty >> cell & 1) == 0) {
            const std::size_t at = MapLayout::BlockHeaderSize + cell * CellSize;
            std::copy_n(block.read.begin() + static_cast<std::ptrdiff_t>(at), CellSize,
                        block.bytes.begin() + static_cast<std::ptrdiff_t>(at));
        }
    }
    block.loaded = true;
}

MapCell CellBatch::get(int x, int y) {
    Block& block = blockOf(x, y);
    if ((block.dirty & bit(x, y)) == 0 && !block.loaded)
        load(keys_[static_cast<std::size_t>(&block - blocks_.data())], block);
    return decodeCell(block.bytes.data() + cellOffsetInBlock(x % BlockSide, y % BlockSide));
}

void CellBatch::set(int x, int y, MapCell cell) {
    Block& block = blockOf(x, y);
    encodeCell(block.bytes.data() + cellOffsetInBlock(x % BlockSide, y % BlockSide), cell);
    block.dirty |= bit(x, y);
    if (bounds_.isEmpty())
        bounds_ = {x, y, x, y};
    else
        bounds_ = {std::min(bounds_.left, x), std::min(bounds_.top, y), std::max(bounds_.right, x),
                   std::max(bounds_.bottom, y)};
}

void CellBatch::write() {
    // Blocks in file order; within a block the cells of a row are adjacent
    // and each row follows the one above it.
    std::vector<std::size_t> order(blocks_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys_[a] < keys_[b]; });

    std::vector<Run> runs;
    for (const std::size_t b : order) {
        const Block& block = blocks_[b];
        const int bx = static_cast<int>(keys_[b] / static_cast<std::uint32_t>(geometry_.blockHeight));
        const int by = static_cast<int>(keys_[b] % static_cast<std::uint32_t>(geometry_.blockHeight));
        const std::uint64_t base = blockOffset(bx, by, geometry_.blockHeight);
        for (std::size_t cell = 0; cell < MapLayout::CellsPerBlock; ++cell) {
            if ((block.dirty >> cell & 1) == 0)
                continue;
            const std::size_t inBlock = MapLayout::BlockHeaderSize + cell * CellSize;
            if (!runs.empty() && runs.back().block == b && runs.back().inBlock + runs.back().length == inBlock)
                runs.back().length += CellSize;
            else
                runs.push_back(Run{base + inBlock, b, inBlock, CellSize});
        }
    }

    const auto bytesOf = [&](const MapBlockBytes& bytes, const Run& run) {
        return std::span<const std::uint8_t>(bytes.data() + run.inBlock, run.length);
    };
    for (std::size_t i = 0; i < runs.size(); ++i) {
        try {
            map_.writeAt(runs[i].fileOffset, bytesOf(blocks_[runs[i].block].bytes, runs[i]));
        } catch (const IoError&) {
            for (std::size_t j = 0; j <= i; ++j) {
                const Block& block = blocks_[runs[j].block];
                if (!block.loaded)
                    continue;
                try {
                    map_.writeAt(runs[j].fileOffset, bytesOf(block.read, runs[j]));
                } catch (const IoError&) {
                    // The first error is the one to report.
                }
            }
            throw;
        }
    }
}

} // namespace stonereach
