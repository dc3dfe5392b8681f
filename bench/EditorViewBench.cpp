// The main window's painting path and palettes, offscreen, on the sample
// world:
// - brush9x9: one cell entered with the 9 x 9 square brush at zoom 45 on a
//   1920 x 1080 map view: the 81 cells written to the map file and redrawn
//   (the selection handler and the paint of the changed region);
// - paletteRepaint: a full repaint of a 1080-pixel palette column after its
//   pictures are cached;
// - undoStroke1000: "Undo Stroke" of a 1000 x 1000 fill on a 1920 x 1080 map
//   view showing it, with the redraw, and "Redo" of it (redo_ms);
// - startUp: the editor window made, shown and painted for the first time
//   with a 16382-line tile list and 200 selection groups (process start not
//   included).
// Each reports the median in milliseconds as "median_ms".
//
// Run: build/default/bench/bench_editorviewbench
// Set STONEREACH_SAMPLE_DIR to a folder that already holds a sample world
// (stonereach-cli sample DIR) to skip generating one.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "GuiBenchMain.h"

#include <QApplication>
#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>

#include "gui/editor/TSRMapEditForm.h"
#include "gui/app/WindowDialogs.h"
#include "gui/editor/MapView.h"
#include "gui/editor/PaintingPart.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/widgets/TilePalette.h"
#include "gui/widgets/UpDown.h"
#include "mapdata/SettingsStore.h"
#include "render/ClientFilesDrawSource.h"
#include "sample/SampleWorld.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct World {
    std::unique_ptr<test::TempDir> dir;
    fs::path folder;
    fs::path home;
};

// The sample world, and a program directory with a full tile list and 200
// groups.
const World& sampleWorld() {
    static const World world = [] {
        World w;
        w.dir = std::make_unique<test::TempDir>();
        if (const char* given = std::getenv("STONEREACH_SAMPLE_DIR"); given && *given) {
            w.folder = given;
        } else {
            w.folder = w.dir->path() / "world";
            sample::generateSampleWorld(w.folder, {});
        }
        w.home = w.dir->path() / "home";
        fs::create_directories(w.home / "textures");
        std::ofstream list(w.home / "textures" / "tileids.lst", std::ios::binary);
        for (int id = 0; id < 16382; ++id)
            list << "textureid=" << id << "\r\n";
        std::ofstream groups(w.home / "tilelist.xml", std::ios::binary);
        groups << "<?xml version=\"1.0\" ?>\r\n<TileList>\r\n";
        for (int g = 0; g < 200; ++g) {
            groups << "  <Tile id=\"" << g << "\">\r\n    <Name id=\"" << g << "\">Group " << g << "</Name>\r\n";
            for (int t = 0; t < 10; ++t)
                groups << "    <TileId id=\"" << t << "\">" << (g * 10 + t) % 16382 << "</TileId>\r\n";
            groups << "  </Tile>\r\n";
        }
        groups << "</TileList>\r\n";
        return w;
    }();
    return world;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A window on the sample world with its settings in memory.
struct Editor {
    MemorySettingsStore store;
    QtWindowDialogs dialogs;
    BookmarkTable bookmarks{};
    std::unique_ptr<TSRMapEditForm> window;

    Editor() {
        const World& world = sampleWorld();
        setenv("STONEREACH_HOME", world.home.c_str(), 1);
        store.setValue(SettingNames::MapPath, (world.folder / "map0.mul").string());
        store.setValue(SettingNames::ClientDir, world.folder.string());
        window = std::make_unique<TSRMapEditForm>(store, dialogs, bookmarks);
    }
};

// Grows the window until the map view's viewport is 1920 x 1080.
bool sizeMapView(TSRMapEditForm& window) {
    MapView& view = window.mapView();
    for (int i = 0; i < 3; ++i) {
        window.resize(window.size() + QSize(1920, 1080) - view.viewport()->size());
        QCoreApplication::processEvents();
    }
    return view.viewport()->size() == QSize(1920, 1080);
}

void brush9x9(benchmark::State& state) {
    Editor editor;
    TSRMapEditForm& window = *editor.window;
    window.show();
    QCoreApplication::processEvents();
    MapView& view = window.mapView();
    if (!sizeMapView(window)) {
        state.SkipWithError("the map view could not be sized to 1920 x 1080");
        return;
    }
    window.findChild<RadioGroup*>("AltitudeRadioGroup")->selectAsIfClicked(2);
    window.findChild<QComboBox*>("SelectDrawingModeComboBox")->setCurrentIndex(2);
    auto* size = window.findChild<UpDown*>("BrushSizeMover");
    while (size->position() < 9) {
        QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
        QCoreApplication::sendEvent(size, &up);
    }
    view.setCurrentCell(2000, 1500);
    QCoreApplication::processEvents();

    std::vector<double> times;
    int step = 0;
    for (auto _ : state) {
        const int col = view.leftCol() + 5 + (step % 20);
        const int row = view.topRow() + 5 + (step / 20) % 10;
        ++step;
        const auto start = Clock::now();
        window.painting().MainDrawGridSelectCell(col, row);
        QCoreApplication::processEvents(); // the paint of the 81 cells
        times.push_back(millisecondsSince(start));
    }
    state.counters["median_ms"] = median(times);
    state.counters["cells_per_click"] = double(window.painting().undoList().size()) / double(step);
}

void paletteRepaint(benchmark::State& state) {
    const World& world = sampleWorld();
    ClientFilesDrawSource source(world.folder / "map0.mul", world.folder);
    TilePalette palette(source, Qt::Vertical, QSize(0, 64));
    std::vector<int> tiles(16382);
    for (int i = 0; i < 16382; ++i)
        tiles[std::size_t(i)] = i;
    palette.setTiles(tiles);
    palette.setShowIds(true);
    palette.show();
    palette.resize(180, 1080 + (palette.height() - palette.viewport()->height()));
    QCoreApplication::processEvents();
    palette.setTopRow(40);
    palette.viewport()->repaint(); // fills the picture cache

    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        palette.viewport()->repaint();
        times.push_back(millisecondsSince(start));
    }
    state.counters["median_ms"] = median(times);
    state.counters["rows"] = palette.visibleRowCount() + 1;
}

// Resident memory of this process, from the kernel's accounting.
double residentBytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes * 1024;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// A 1000 x 1000 fill with "Add Z" through the window, with its redraw; the
// undo rows it leaves are measured as the growth of the resident memory.
void fill1000(benchmark::State& state) {
    Editor editor;
    TSRMapEditForm& window = *editor.window;
    window.show();
    QCoreApplication::processEvents();
    window.findChild<RadioGroup*>("AltitudeRadioGroup")->selectAsIfClicked(0);
    window.findChild<QAbstractButton*>("btnRectFill")->click();
    std::vector<double> times;
    double grown = 0;
    std::size_t rows = 0;
    for (auto _ : state) {
        const double before = residentBytes();
        const std::size_t rowsBefore = window.painting().undoList().size();
        const auto start = Clock::now();
        window.painting().MainDrawGridSelectCell(1000, 1000);
        window.painting().MainDrawGridSelectCell(1999, 1999);
        QCoreApplication::processEvents();
        times.push_back(millisecondsSince(start));
        grown += residentBytes() - before;
        rows += window.painting().undoList().size() - rowsBefore;
    }
    state.counters["median_ms"] = median(times);
    state.counters["undo_bytes_per_row"] = grown / double(rows);
}

void undoStroke1000(benchmark::State& state) {
    Editor editor;
    TSRMapEditForm& window = *editor.window;
    window.show();
    QCoreApplication::processEvents();
    if (!sizeMapView(window)) {
        state.SkipWithError("the map view could not be sized to 1920 x 1080");
        return;
    }
    window.findChild<RadioGroup*>("AltitudeRadioGroup")->selectAsIfClicked(0);
    window.findChild<QAbstractButton*>("btnRectFill")->click();
    window.mapView().jumpTo(1500, 1500);
    std::vector<double> undoTimes;
    std::vector<double> redoTimes;
    for (auto _ : state) {
        window.painting().MainDrawGridSelectCell(1000, 1000);
        window.painting().MainDrawGridSelectCell(1999, 1999);
        QCoreApplication::processEvents();
        auto start = Clock::now();
        window.painting().undoStroke();
        window.mapView().viewport()->repaint();
        undoTimes.push_back(millisecondsSince(start));
        start = Clock::now();
        window.painting().redoStroke();
        window.mapView().viewport()->repaint();
        redoTimes.push_back(millisecondsSince(start));
        window.painting().undoStroke();
    }
    state.counters["median_ms"] = median(undoTimes);
    state.counters["redo_ms"] = median(redoTimes);
}

void startUp(benchmark::State& state) {
    sampleWorld();
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        Editor editor;
        editor.window->show();
        editor.window->mapView().viewport()->repaint();
        QCoreApplication::processEvents();
        times.push_back(millisecondsSince(start));
        state.PauseTiming();
        editor.window->close();
        editor.window.reset();
        state.ResumeTiming();
    }
    state.counters["median_ms"] = median(times);
}

BENCHMARK(brush9x9)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(paletteRepaint)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(fill1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(undoStroke1000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(startUp)->Unit(benchmark::kMillisecond)->Iterations(15);

} // namespace
} // namespace stonereach

int main(int argc, char** argv) { return runGuiBenchmarks(argc, argv); }
