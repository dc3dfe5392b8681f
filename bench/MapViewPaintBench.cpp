// Full repaints of a 1920 x 1080 map view of the sample world, offscreen, at
// several zooms with the altitude labels on and off. Each repaint reads the
// visible cells from the map file; tile pictures come from the cache after
// the first paint. Reports the median repaint time as "median_ms". The same
// world is also drawn from a map container and an art container (container=1),
// which must cost the same.
//
// Run: build/default/bench/bench_mapviewpaintbench
// Set STONEREACH_SAMPLE_DIR to a folder that already holds a sample world
// (stonereach-cli sample DIR) to skip generating one.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "GuiBenchMain.h"

#include <QApplication>

#include "gui/editor/MapView.h"
#include "mapdata/MapIdentity.h"
#include "render/ClientFilesDrawSource.h"
#include "sample/SampleWorld.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

struct World {
    std::unique_ptr<test::TempDir> dir;
    std::filesystem::path folder;
    std::filesystem::path map;
    // The same world with map0LegacyMUL.uop and artLegacyMUL.uop.
    test::TempDir containers;
    std::filesystem::path containerMap;
};

const World& sampleWorld() {
    static World w;
    static const bool made = [] {
        if (const char* given = std::getenv("STONEREACH_SAMPLE_DIR"); given && *given) {
            w.folder = given;
        } else {
            w.dir = std::make_unique<test::TempDir>();
            w.folder = w.dir->path();
            sample::generateSampleWorld(w.folder, {});
        }
        w.map = w.folder / "map0.mul";
        sample::SampleWorldOptions options;
        options.containers = true;
        w.containerMap = sample::generateSampleWorld(w.containers.path(), options).mapPath;
        return true;
    }();
    (void)made;
    return w;
}

void paintFullView(benchmark::State& state) {
    const int zoom = int(state.range(0));
    const bool altitude = state.range(1) != 0;
    const bool container = state.range(2) != 0;
    const World& world = sampleWorld();
    const std::filesystem::path& map = container ? world.containerMap : world.map;
    ClientFilesDrawSource source(map, container ? world.containers.path() : world.folder);
    BookmarkTable bookmarks{};
    MapView view(source, bookmarks);
    view.mapChanged();
    view.setZoom(zoom);
    view.setDisplaySwitches({.showAltitude = altitude, .coloredAltitude = altitude});
    // The viewport, not the widget, is 1920 x 1080.
    view.show();
    view.resize(1920, 1080);
    QCoreApplication::processEvents();
    view.resize(1920 + (1920 - view.viewport()->width()), 1080 + (1080 - view.viewport()->height()));
    QCoreApplication::processEvents();
    if (view.viewport()->size() != QSize(1920, 1080)) {
        state.SkipWithError("the viewport could not be sized to 1920 x 1080");
        return;
    }
    view.setCurrentCell(view.colCount() / 3, view.rowCount() / 3);
    view.viewport()->repaint(); // fills the tile cache

    std::vector<double> times;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        view.viewport()->repaint();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["cells"] = double(view.visibleColCount() + 1) * double(view.visibleRowCount() + 1);
    state.SetLabel(std::string(altitude ? "altitude labels on" : "altitude labels off") +
                   (container ? ", containers" : ""));
}

BENCHMARK(paintFullView)
    ->ArgNames({"zoom", "altitude", "container"})
    ->ArgsProduct({{45, 10, 5, 2, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

} // namespace
} // namespace stonereach

int main(int argc, char** argv) { return runGuiBenchmarks(argc, argv); }
