#pragma once
// Value types that cross the boundary to the engine. Layouts are shared
// with the engine module, so each carries size and offset checks.
#include <cstddef>
#include <cstdint>

#include "ui/core/Chords.h"

namespace Corvell {

// Play-logic parameter identifiers 0..97; values are int.
enum ERnCPars : int {
    rncPlayMode = 0,
    rncStrumTime = 1,
    rncKeyboardLow = 3,
    rncKeyboardHigh = 4,
    rncVelocityCurve = 13,
    rncCapo = 14,
    rncAutoFretPosition = 15,
    rncHold = 31,
    rncChordDetectTime = 47,
    rncSoloHold = 54,
    rncSilentMode = 58,
    rncPickPosition = 77,
    rncKeySwitchReduce = 82,
    rncWheelsOnPressedKeys = 83,
    rncPatternMode = 95,
    rncFxNoticesSuspended = 97,
    rncParCount = 98
};

// Playback event: kind in bits 0..7, string or note in 8..15, fret in
// 16..23, velocity in 24..31.
struct SPlaybackEvent {
    uint32_t bits = 0;

    enum Kind : uint8_t { NoteOff = 0, NoteOn = 1, Held = 4, KeyUp = 10, KeyDown = 11, ClearAll = 255 };

    static SPlaybackEvent Make(unsigned kind, unsigned stringOrNote, unsigned fret, unsigned velocity) {
        SPlaybackEvent e;
        e.bits = (kind & 0xFFu) | (stringOrNote & 0xFFu) << 8 | (fret & 0xFFu) << 16 | (velocity & 0xFFu) << 24;
        return e;
    }
    unsigned Kind() const { return bits & 0xFFu; }
    unsigned StringOrNote() const { return (bits >> 8) & 0xFFu; }
    unsigned Fret() const { return (bits >> 16) & 0xFFu; }
    unsigned Velocity() const { return (bits >> 24) & 0xFFu; }
    bool operator==(const SPlaybackEvent& o) const { return bits == o.bits; }
};
static_assert(sizeof(SPlaybackEvent) == 4, "SPlaybackEvent is one 32-bit word");

// Filled by IGuitar::GetGuitarInfo. The name has a fixed capacity so the
// engine can never write past the library's buffer.
struct GuitarInfo {
    int32_t flags;
    char name[256];
};
static_assert(offsetof(GuitarInfo, name) == 4 && sizeof(GuitarInfo) == 260, "GuitarInfo layout");

// ISampler parameter information: four 16-bit values, then reserved bytes
// (40 bytes in all).
struct ParInfo {
    int16_t minimum;
    int16_t maximum;
    int16_t defaultValue;
    int16_t fourth;
    char reserved[32];
};
static_assert(sizeof(ParInfo) == 40 && offsetof(ParInfo, defaultValue) == 4, "ParInfo layout");

// The chord vocabulary (StdChord, UserChord, Kord) lives with the chord
// model, which the widgets use too.

enum EUserChordMapEvent : int { BankStateChanged = 0, BankSwitched = 1, BankContentChanged = 2 };

namespace Dizuvoza {
// A device event: kind 1 = button (value = button * 2 + pressed), kind 4 = tilt.
struct Event {
    uint8_t kind;
    int32_t value;
};
static_assert(sizeof(Event) == 8 && offsetof(Event, value) == 4, "Dizuvoza::Event layout");
} // namespace Dizuvoza

} // namespace Corvell
