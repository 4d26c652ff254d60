#include "ui/PaneTrace.h"

#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

#include "ui/Pane.h"

namespace Corvell {

namespace {
std::atomic<PaneTraceSink> g_sink{nullptr};
}

PaneTraceSink SetPaneTraceSink(PaneTraceSink sink) { return g_sink.exchange(sink); }

bool IsPaneTraceOn() { return g_sink.load() != nullptr; }

void PaneTrace(const char* line) {
    if (PaneTraceSink sink = g_sink.load())
        sink(line ? line : "");
}

void PaneTracef(const char* fmt, ...) {
    PaneTraceSink sink = g_sink.load();
    if (!sink || !fmt)
        return;
    va_list args;
    va_start(args, fmt);
    String s;
    s.FormatV(fmt, args);
    va_end(args);
    sink(s.c_str());
}

String PaneClassName(const Pane* p) {
    if (!p)
        return String("(null)");
    const char* raw = typeid(*p).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(raw, nullptr, nullptr, &status);
    String name(status == 0 && demangled ? demangled : raw);
    std::free(demangled);
    return name;
}

} // namespace Corvell
