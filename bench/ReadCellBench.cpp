// Random single-cell reads on a 6144 x 4096 map, as the map view and the
// painting tools do them: one positioned 3-byte read per cell.
#include <benchmark/benchmark.h>

#include <memory>

#include "mapdata/MapFile.h"
#include "mapdata/MapVariant.h"
#include "sample/SampleMap.h"
#include "sample/SampleNoise.h"
#include "sample/SampleWorld.h"
#include "SampleMapFile.h"

namespace {

using namespace stonereach;

bench::SampleMapFile& feluccaMap() {
    static bench::SampleMapFile instance("Felucca+Trammel", File::Mode::Read);
    return instance;
}

void BM_ReadCellRandom(benchmark::State& state) {
    bench::SampleMapFile& m = feluccaMap();
    sample::SampleRandom random(42);
    std::uint64_t sum = 0;
    for (auto _ : state) {
        const int x = random.range(0, m.geometry.width - 1);
        const int y = random.range(0, m.geometry.height - 1);
        sum += m.map->readCell(x, y, m.geometry).tile;
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadCellRandom);

// A screenful of the map view read cell by cell, column by column (60 x 40).
void BM_ReadCellScreen(benchmark::State& state) {
    bench::SampleMapFile& m = feluccaMap();
    sample::SampleRandom random(7);
    std::uint64_t sum = 0;
    for (auto _ : state) {
        const int x0 = random.range(0, m.geometry.width - 60);
        const int y0 = random.range(0, m.geometry.height - 40);
        for (int x = x0; x < x0 + 60; ++x)
            for (int y = y0; y < y0 + 40; ++y)
                sum += m.map->readCell(x, y, m.geometry).tile;
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * 60 * 40);
}
BENCHMARK(BM_ReadCellScreen);

// Whole block columns, as the whole-file tools read.
void BM_ReadBlockColumn(benchmark::State& state) {
    bench::SampleMapFile& m = feluccaMap();
    std::vector<MapBlockBytes> column(static_cast<std::size_t>(m.geometry.blockHeight));
    int bx = 0;
    for (auto _ : state) {
        m.map->readBlockRun(bx, 0, m.geometry.blockHeight, m.geometry, column);
        benchmark::DoNotOptimize(column.data());
        bx = (bx + 97) % m.geometry.blocksAcross();
    }
    state.SetBytesProcessed(state.iterations() * m.geometry.blockHeight * static_cast<std::int64_t>(MapLayout::BlockSize));
}
BENCHMARK(BM_ReadBlockColumn);

} // namespace

BENCHMARK_MAIN();
