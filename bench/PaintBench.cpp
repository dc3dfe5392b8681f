// The painting tools through the painter on a Mondain's Legacy map file
// (7168 x 4096 cells, 90 MB): a fill of 1000 x 1000 cells with "Add Z"
// including its undo rows, what the undo list costs per row, and one 9 x 9
// brush footprint (the map view's redraw is measured with the window).
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>

#include "editor/Painter.h"
#include "editor/RandomSource.h"
#include "mapdata/MapFile.h"
#include "sample/SampleMap.h"
#include "sample/SampleWorld.h"
#include "support/TempDir.h"

namespace {

using namespace stonereach;

struct LegacyMap {
    test::TempDir dir;
    const MapVariant& variant = *sample::findVariantByName("Mondains Legacy");
    MapGeometry geometry = MapGeometry::of(variant);
    std::unique_ptr<MapFile> map;

    LegacyMap() {
        sample::writeSampleMap(dir / "map0.mul", variant, 1);
        map = std::make_unique<MapFile>(dir / "map0.mul", File::Mode::ReadWrite);
    }
};

LegacyMap& legacyMap() {
    static LegacyMap instance;
    return instance;
}

const AltitudeRule kAddOne({AltitudeMode::Add, 1, false, "1"});

void BM_Fill1000x1000AddZ(benchmark::State& state) {
    LegacyMap& m = legacyMap();
    RandomSource random(1);
    int shift = 0;
    for (auto _ : state) {
        UndoList undo;
        // Not aligned to blocks, and somewhere else each time.
        const CellRect rect{1003 + shift, 997 + shift, 2002 + shift, 1996 + shift};
        Painter(*m.map, m.geometry, undo, random)
            .paintFootprint(rect, DrawingMode::altitudeOnly(), kAddOne);
        benchmark::DoNotOptimize(undo.size());
        shift = (shift + 1111) % 3000;
        state.PauseTiming();
        undo.clear();  // freeing the rows is not part of the fill
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_Fill1000x1000AddZ)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UndoListBytesPerRow(benchmark::State& state) {
    LegacyMap& m = legacyMap();
    RandomSource random(2);
    double bytesPerRow = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        auto undo = std::make_unique<UndoList>();
        Painter(*m.map, m.geometry, *undo, random)
            .paintFootprint({4000, 2000, 4999, 2999}, DrawingMode::selectedTile(3), kAddOne);
        const std::size_t after = mallinfo2().uordblks;
        bytesPerRow = static_cast<double>(after - before) / static_cast<double>(undo->size());
    }
    state.counters["bytes_per_row"] = bytesPerRow;
}
BENCHMARK(BM_UndoListBytesPerRow)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Brush9x9(benchmark::State& state) {
    LegacyMap& m = legacyMap();
    RandomSource random(3);
    UndoList undo;
    const DrawingMode mode = DrawingMode::selectedTile(0x16);
    int x = 100;
    int y = 100;
    for (auto _ : state) {
        Painter(*m.map, m.geometry, undo, random).paintFootprint(squareBrushFootprint(x, y, 9), mode, kAddOne);
        // A stroke: the next entered cell.
        x = x < 7000 ? x + 1 : 100;
        y = (y + 3) % 4000;
    }
    state.SetItemsProcessed(state.iterations() * 81);
}
BENCHMARK(BM_Brush9x9)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
