#pragma once
#include "ui/core/String.h"

namespace Corvell {

class Pane;

// Diagnostic lines of the pane toolkit (event delivery, focus changes).
// They go to one process-wide sink, which discards them by default.
using PaneTraceSink = void (*)(const char* line);

// Installs a sink (null: discard) and returns the previous one.
PaneTraceSink SetPaneTraceSink(PaneTraceSink sink);
bool IsPaneTraceOn();
void PaneTrace(const char* line);
// printf-style; nothing is formatted while no sink is installed.
void PaneTracef(const char* fmt, ...);

// The class name of p ("(null)" for null), as the trace lines show it.
String PaneClassName(const Pane* p);

} // namespace Corvell
