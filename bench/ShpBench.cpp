#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "image/CBmpOrvel.h"
#include "image/CShpFile.h"
#include "image/Palette.h"
#include "image/ShpLayout.h"
#include "support/TestFiles.h"

namespace pixmond {
namespace {

// A unit-like picture: a transparent field with a shaded body and a few runs and single pixels.
CBmpOrvel UnitPicture(int width, int height) {
    CBmpOrvel picture;
    picture.Create(width, height, 8, false);
    picture.Allocate();
    picture.Fill(kTransparentIndex);
    const double cx = width / 2.0, cy = height / 2.0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double dx = (x - cx) / (width * 0.4), dy = (y - cy) / (height * 0.35);
            const double r = dx * dx + dy * dy;
            if (r > 1.0) continue;
            std::uint8_t index = r < 0.3 ? 38 : r < 0.7 ? 25 : 12;
            if ((x * 13 + y * 7) % 17 == 0) index = std::uint8_t(1 + (x + y) % 14);
            picture.SetIndex(x, y, index);
        }
    return picture;
}

// An interface picture: every pixel visible, bands of colour with texture.
CBmpOrvel InterfacePicture() {
    CBmpOrvel picture;
    picture.Create(640, 480, 8, false);
    picture.Allocate();
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            std::uint8_t index = std::uint8_t(1 + (y / 32) % 14);
            if ((x / 8 + y / 8) % 5 == 0) index = std::uint8_t(160 + (x * 3 + y) % 60);
            picture.SetIndex(x, y, index);
        }
    return picture;
}

std::vector<std::uint8_t> Record(CBmpOrvel picture) {
    std::vector<std::uint8_t> record;
    ShpIconHeader header;
    picture.EncodeIcon(record, header, false);
    return record;
}

void Encode(benchmark::State& state, const CBmpOrvel& source) {
    CBmpOrvel picture(source);
    std::vector<std::uint8_t> out;
    ShpIconHeader header;
    for (auto _ : state) {
        out.clear();
        benchmark::DoNotOptimize(picture.EncodeIcon(out, header, false));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * picture.Width() * picture.Height());
    state.counters["record_bytes"] = double(out.size());
}

void Decode(benchmark::State& state, const CBmpOrvel& source) {
    test::TempDir dir;
    test::WriteBytes(dir / "B.SHP", AssembleShp({Record(source)}));
    CShpFile shp;
    shp.OpenFile(dir.File("B.SHP"), 1);
    for (auto _ : state) {
        shp.SelectIcon(1);
        benchmark::DoNotOptimize(shp.DecodeIcon());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * source.Width() * source.Height());
}

void BM_EncodeUnitIcon(benchmark::State& state) { Encode(state, UnitPicture(80, 50)); }
void BM_EncodeInterfacePicture(benchmark::State& state) { Encode(state, InterfacePicture()); }
void BM_DecodeUnitIcon(benchmark::State& state) { Decode(state, UnitPicture(80, 50)); }
void BM_DecodeInterfacePicture(benchmark::State& state) { Decode(state, InterfacePicture()); }

// A 640 x 480 photograph-like picture: smooth gradients with noise, many distinct colours.
CBmpDib TrueColourPicture() {
    CBmpDib picture;
    picture.Create(640, 480, 24, false);
    picture.Allocate();
    std::uint32_t seed = 12345;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 28);
            picture.SetColour(x, y, MakeRgb(x * 255 / 639 ^ noise, y * 255 / 479, (x + y) * 255 / 1118 + noise));
        }
    return picture;
}

void BM_ConvertToPalette640x480(benchmark::State& state) {
    const CBmpDib source = TrueColourPicture();
    for (auto _ : state) {
        state.PauseTiming();
        CBmpDib picture(source);
        state.ResumeTiming();
        benchmark::DoNotOptimize(ConvertToPalette(picture));
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * 640 * 480);
}

void BM_NearestPaletteIndex(benchmark::State& state) {
    std::uint32_t seed = 99;
    for (auto _ : state) {
        seed = seed * 1664525u + 1013904223u;
        benchmark::DoNotOptimize(NearestPaletteIndex(int(seed >> 24), int(seed >> 16 & 255), int(seed >> 8 & 255)));
    }
}

BENCHMARK(BM_EncodeUnitIcon);
BENCHMARK(BM_EncodeInterfacePicture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeUnitIcon);
BENCHMARK(BM_DecodeInterfacePicture)->Unit(benchmark::kMicrosecond);
// Large pictures are mapped on every core: the time is the wall time, the processor time that of all threads.
BENCHMARK(BM_ConvertToPalette640x480)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_NearestPaletteIndex);

}  // namespace
}  // namespace pixmond
