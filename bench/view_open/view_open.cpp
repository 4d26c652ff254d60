// The editor view natively: opening it with a cold image cache, how much of
// that is decoding images, a full repaint, a macromode switch, and memory
// over open/close cycles. Drawing goes to the recording context, so these
// figures are the library's own work, without the platform's drawing.
#include "RecordingContext.h"
#include "SubstituteHost.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "shared/Graphics/Bitmap.h"
#include "view/RorezoZavu.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace Corvell;
using Substitute::Notifier;
using Substitute::SubstituteHost;

namespace {

Test::TestImageSource& Images() {
    static Test::TestImageSource images{TARROW_SOURCE_DIR "/src/resources"};
    return images;
}

struct OpenView {
    SubstituteHost host{Notifier::Mode::Synchronous};
    OpenView() { host.Log().SetEnabled(false); }
    std::unique_ptr<Test::TestRootPane> root;
    std::unique_ptr<RorezoZavu> view;

    // As the page does it: the view, the engine, then the window, then a paint.
    void Open() {
        view.reset(new RorezoZavu);
        view->AttachHost(&host);
        root.reset(new Test::TestRootPane);
        root->AddChild(view.get());
        Paint();
    }
    void Paint() {
        Test::RecordingContext gc;
        root->PaintWindow(gc);
        benchmark::DoNotOptimize(gc.Calls().size());
    }
    void Close() {
        view.reset();
        root.reset();
    }
};

void BM_OpenToFirstPaintColdCache(benchmark::State& state) {
    Test::RecordingBackend::Install();
    Images();
    OpenView v;
    for (auto _ : state) {
        state.PauseTiming();
        ClearImageCache();
        state.ResumeTiming();
        v.Open();
        state.PauseTiming();
        v.Close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenToFirstPaintColdCache)->Unit(benchmark::kMillisecond);

void BM_OpenToFirstPaintWarmCache(benchmark::State& state) {
    Test::RecordingBackend::Install();
    Images();
    OpenView v;
    v.Open();
    v.Close();
    for (auto _ : state) {
        v.Open();
        state.PauseTiming();
        v.Close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenToFirstPaintWarmCache)->Unit(benchmark::kMillisecond);

// Decoding only: every image a cold open asks for, decoded again (the open
// itself decodes only those it draws).
void BM_DecodeImagesOfFirstPaint(benchmark::State& state) {
    Test::RecordingBackend::Install();
    auto& images = Images();
    ClearImageCache();
    images.pngLookups.clear();
    {
        OpenView v;
        v.Open();
        v.Close();
    }
    const std::vector<std::string> names = images.pngLookups;
    for (auto _ : state) {
        state.PauseTiming();
        ClearImageCache();
        state.ResumeTiming();
        for (const auto& n : names) // images decode when their pixels are first wanted
            if (auto* png = dynamic_cast<PngBitmap*>(GetImage(n.c_str()).Get()))
                benchmark::DoNotOptimize(png->Surface());
    }
    state.counters["images"] = static_cast<double>(names.size());
}
BENCHMARK(BM_DecodeImagesOfFirstPaint)->Unit(benchmark::kMillisecond);

void BM_FullRepaint(benchmark::State& state) {
    Test::RecordingBackend::Install();
    Images();
    OpenView v;
    v.Open();
    for (auto _ : state)
        v.Paint();
    v.Close();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

// A click on a slice, the engine's notices, and the repaint they cause.
void BM_MacromodeSwitch(benchmark::State& state) {
    Test::RecordingBackend::Install();
    Images();
    OpenView v;
    v.Open();
    int m = 0;
    for (auto _ : state) {
        m = (m + 1) % RorezoZavu::kMacromodes;
        const Point o = v.view->Macromodes()->GetButton(m)->GetAbsoluteOrigin();
        v.root->Click(o.x + 40, o.y + 10);
        v.host.Notices().Flush();
        v.root->PumpMessages();
        v.Paint();
    }
    v.Close();
}
BENCHMARK(BM_MacromodeSwitch)->Unit(benchmark::kMicrosecond);

// Heap in use after 200 open-close cycles against one engine, per cycle,
// once the first cycles have filled what is kept.
void BM_OpenCloseCycles(benchmark::State& state) {
    Test::RecordingBackend::Install();
    Images();
    OpenView v;
    for (int i = 0; i < 10; ++i) {
        v.Open();
        v.Close();
    }
    const size_t before = mallinfo2().uordblks;
    for (auto _ : state) {
        v.Open();
        v.Close();
    }
    const double grown = double(mallinfo2().uordblks) - double(before);
    state.counters["bytes_grown_per_cycle"] = grown / double(state.iterations());
}
BENCHMARK(BM_OpenCloseCycles)->Iterations(200)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
