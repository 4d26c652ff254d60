#pragma once
#include <cstdint>

#include "ui/core/String.h"

namespace Corvell {

// The text of a number editor's value and back.

// "%d".
String FormatNumber(int32_t value);
// An optional sign and decimal digits, with blanks around them allowed.
// False, leaving out alone, for an empty text, anything else (junk, a
// second sign, blanks inside) or a value beyond 32 bits.
bool ParseNumber(const char* text, int32_t& out);

// The note name of a MIDI note number: letter, "#" for a sharp, then the
// octave, middle C (60) being C3: 0 is C-2, 61 C#3, 127 G8. Any value has
// a name: the pitch class is taken modulo 12 rounding down (-1 is B-3) and
// the octave is written whole (144 is C10).
String NoteName(int32_t note);
// A note name back to its number: a letter A to G in either case, an
// optional "#" (sharp) or "b" (flat), then the octave with an optional
// minus sign; blanks around it are allowed. A plain number is taken as
// the number itself. False, leaving out alone, for anything else or a
// value beyond 32 bits.
bool ParseNoteName(const char* text, int32_t& out);

} // namespace Corvell
