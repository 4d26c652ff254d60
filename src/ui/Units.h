#pragma once
// How a knob's or slider's value reads in its tooltip: each unit writes the
// text for an integer value. The units hold no state; one shared instance
// of each is handed to the tooltips (RangeControlTooltip) of the panels.
#include "ui/Tooltip.h"

namespace Corvell {

using UnitArgs = RangeControlTooltip::Args;
using Unit = RangeControlTooltip::Unit;

// Shared for the process: counting does nothing, nothing deletes them.
class UnitBase : public EmbeddedCounting<Unit> {};

// 2^(v / 10) hertz, whole: 0 -> "1 Hz", 100 -> "1024 Hz".
class UnitHzExp : public UnitBase {
public:
    void Invoke(UnitArgs& a) override;
};

// Tenths of a hertz: 55 -> "5.5 Hz".
class UnitHertz : public UnitBase {
public:
    void Invoke(UnitArgs& a) override;
};

// Tenths of a decibel: -60 -> "-6.0 dB".
class UnitDecibel : public UnitBase {
public:
    void Invoke(UnitArgs& a) override;
};

// The percentage left over: 30 -> "70%".
class UnitReverse : public UnitBase {
public:
    void Invoke(UnitArgs& a) override;
};

// A count with its noun: the first format for 1, the second for 2 to 4,
// the third otherwise, each applied to offset + v.
class UnitIntegers : public UnitBase {
public:
    UnitIntegers(const char* one, const char* few, const char* other, int32_t offset)
        : m_one(one), m_few(few), m_other(other), m_offset(offset) {}
    void Invoke(UnitArgs& a) override;

private:
    const char* m_one;
    const char* m_few;
    const char* m_other;
    int32_t m_offset;
};

// 0..120 as a percentage, truncated: 60 -> "50%".
class UnitPerCents : public UnitBase {
public:
    void Invoke(UnitArgs& a) override;
};

// The shared instances.
namespace Units {
Unit* HzExp();
Unit* Hertz();
Unit* Decibel();
Unit* Reverse();
Unit* PerCents();
Unit* Semitones();      // coarse pitch
Unit* Cents();          // fine pitch
Unit* Percent();        // percentages
Unit* PercentFrom100(); // percentages shown 100 higher (release time)
Unit* Degrees();        // phase
Unit* Plain();          // plain numbers
} // namespace Units

} // namespace Corvell
