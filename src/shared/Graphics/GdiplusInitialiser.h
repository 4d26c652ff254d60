#pragma once
#include <cstdint>

namespace Corvell {

// Keeps the antialiasing library running while any instance lives: the
// first construction starts it, the destruction of the last one stops it.
// Never construct one from static initialisation or module unloading.
class GdiplusInitialiser {
public:
    GdiplusInitialiser();
    virtual ~GdiplusInitialiser();
    GdiplusInitialiser(const GdiplusInitialiser&);
    GdiplusInitialiser& operator=(const GdiplusInitialiser&) = default;

    static int32_t LiveInstances();
    // The platform's start and stop; without them only the count is kept.
    static void SetPlatformHooks(bool (*start)(), void (*stop)());
    static bool IsRunning();
};

// Panes that draw antialiased shapes include this.
class GdiplusMixin : public GdiplusInitialiser {};

} // namespace Corvell
