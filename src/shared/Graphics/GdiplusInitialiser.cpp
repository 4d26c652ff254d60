#include "shared/Graphics/GdiplusInitialiser.h"

namespace Corvell {

namespace {
// Window thread only, like all drawing.
int32_t g_instances = 0;
bool g_running = false;
bool (*g_start)() = nullptr;
void (*g_stop)() = nullptr;

void Acquire() {
    if (g_instances++ == 0 && g_start)
        g_running = g_start();
}
} // namespace

GdiplusInitialiser::GdiplusInitialiser() { Acquire(); }
GdiplusInitialiser::GdiplusInitialiser(const GdiplusInitialiser&) { Acquire(); }

GdiplusInitialiser::~GdiplusInitialiser() {
    if (--g_instances == 0 && g_running) {
        if (g_stop)
            g_stop();
        g_running = false;
    }
}

int32_t GdiplusInitialiser::LiveInstances() { return g_instances; }
bool GdiplusInitialiser::IsRunning() { return g_running; }

void GdiplusInitialiser::SetPlatformHooks(bool (*start)(), void (*stop)()) {
    g_start = start;
    g_stop = stop;
}

} // namespace Corvell
