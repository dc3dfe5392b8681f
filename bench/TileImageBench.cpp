// Decoding land tile pictures: the map view asks for one per visible cell on
// every repaint (before its cache), the palettes one per visible row.
#include <benchmark/benchmark.h>

#include <vector>

#include "mapdata/ClientFiles.h"
#include "mapdata/File.h"
#include "mapdata/LandArtImage.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/TextureImage.h"
#include "mapdata/TileImagesByPath.h"
#include "sample/SampleClientFiles.h"
#include "support/TempDir.h"

namespace {

using namespace stonereach;

std::vector<std::uint8_t> noiseBytes(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 131 + 7) % 251);
    return bytes;
}

void BM_DecodeTexture64(benchmark::State& state) {
    const auto data = noiseBytes(8192);
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeTexture(data, 64));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeTexture64);

void BM_DecodeTexture128(benchmark::State& state) {
    const auto data = noiseBytes(32768);
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeTexture(data, 128));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeTexture128);

void BM_DecodeLandArt(benchmark::State& state) {
    const auto data = noiseBytes(2044);
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeLandArt(data));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeLandArt);

// The sample client, opened once, as the editor holds its files.
struct SampleClient {
    test::TempDir dir;
    File texIdx, texMaps, artIdx, art;
    SampleClient() {
        sample::writeSampleClientFiles(dir.path(), 1);
        texIdx = File(clientFilePath(dir.path(), ClientFile::TextureIndex), File::Mode::Read);
        texMaps = File(clientFilePath(dir.path(), ClientFile::Textures), File::Mode::Read);
        artIdx = File(clientFilePath(dir.path(), ClientFile::ArtIndex), File::Mode::Read);
        art = File(clientFilePath(dir.path(), ClientFile::Art), File::Mode::Read);
    }
};

SampleClient& sampleClient() {
    static SampleClient instance;
    return instance;
}

void BM_LoadTexture64FromFiles(benchmark::State& state) {
    SampleClient& c = sampleClient();
    TileImage image;
    for (auto _ : state)
        benchmark::DoNotOptimize(loadTextureImage(c.texIdx, c.texMaps, 3, image));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadTexture64FromFiles);

void BM_LoadLandArtFromFiles(benchmark::State& state) {
    SampleClient& c = sampleClient();
    TileImage image;
    for (auto _ : state)
        benchmark::DoNotOptimize(loadLandArtImage(c.artIdx, c.art, 220, image));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadLandArtFromFiles);

// The dialogs' copy: two files opened and closed per picture.
void BM_LoadLandArtByPath(benchmark::State& state) {
    SampleClient& c = sampleClient();
    TileImage image;
    for (auto _ : state)
        benchmark::DoNotOptimize(loadLandArtImageByPath(c.dir.path(), 220, image));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadLandArtByPath);

} // namespace

BENCHMARK_MAIN();
