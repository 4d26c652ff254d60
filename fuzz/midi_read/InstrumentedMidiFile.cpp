// The core library is built without coverage instrumentation in the fuzz
// preset: compile the reader into the target so libFuzzer sees its branches.
// These definitions take the place of the library's copy at link time.
#include "looper/MidiFile.cpp"
