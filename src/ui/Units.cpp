#include "ui/Units.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Corvell {

void UnitHzExp::Invoke(UnitArgs& a) {
    static const double kFactor = std::log(2.0) / 10.0;
    a.text.Format("%.0f Hz", std::exp(double(a.value) * kFactor));
}

void UnitHertz::Invoke(UnitArgs& a) { a.text.Format("%.1f Hz", double(a.value) / 10.0); }

void UnitDecibel::Invoke(UnitArgs& a) { a.text.Format("%.1f dB", double(a.value) / 10.0); }

// Worked out in 64 bits: a value near the ends of the range does not wrap.
void UnitReverse::Invoke(UnitArgs& a) { a.text.Format("%lld%%", 100LL - int64_t(a.value)); }

void UnitIntegers::Invoke(UnitArgs& a) {
    const int64_t n = int64_t(m_offset) + int64_t(a.value);
    const char* format = n == 1 ? m_one : (n >= 2 && n <= 4) ? m_few : m_other;
    // The formats take an int: the sum, in 64 bits, is held to its range.
    a.text.Format(format, int(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX)));
}

void UnitPerCents::Invoke(UnitArgs& a) { a.text.Format("%d%%", int(double(a.value) * 100.0 / 120.0)); }

namespace Units {
Unit* HzExp() {
    static UnitHzExp u;
    return &u;
}
Unit* Hertz() {
    static UnitHertz u;
    return &u;
}
Unit* Decibel() {
    static UnitDecibel u;
    return &u;
}
Unit* Reverse() {
    static UnitReverse u;
    return &u;
}
Unit* PerCents() {
    static UnitPerCents u;
    return &u;
}
Unit* Semitones() {
    static UnitIntegers u("%d semitone", "%d semitones", "%d semitones", 0);
    return &u;
}
Unit* Cents() {
    static UnitIntegers u("%d cent", "%d cents", "%d cents", 0);
    return &u;
}
Unit* Percent() {
    static UnitIntegers u("%d%%", "%d%%", "%d%%", 0);
    return &u;
}
Unit* PercentFrom100() {
    static UnitIntegers u("%d%%", "%d%%", "%d%%", 100);
    return &u;
}
Unit* Degrees() {
    // The degree sign of the platform's Western code page.
    static UnitIntegers u("%d\xB0", "%d\xB0", "%d\xB0", 0);
    return &u;
}
Unit* Plain() {
    static UnitIntegers u("%d", "%d", "%d", 0);
    return &u;
}
} // namespace Units

} // namespace Corvell
