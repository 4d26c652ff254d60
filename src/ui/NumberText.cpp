#include "ui/NumberText.h"

#include <cstdint>

namespace Corvell {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text without the blanks around it: [begin, end).
void Trim(const char* text, const char*& begin, const char*& end) {
    begin = text;
    while (IsBlank(*begin))
        ++begin;
    end = begin;
    while (*end)
        ++end;
    while (end > begin && IsBlank(end[-1]))
        --end;
}

// An optional sign and at least one digit filling [p, end) exactly, as a
// 64-bit value; false past what 32 bits hold.
bool SignedDigits(const char* p, const char* end, int64_t& out) {
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end)
        return false;
    int64_t v = 0;
    for (; p < end; ++p) {
        if (!IsDigit(*p))
            return false;
        v = v * 10 + (*p - '0');
        if (v > int64_t(INT32_MAX) + 1)
            return false;
    }
    out = negative ? -v : v;
    return out >= INT32_MIN && out <= INT32_MAX;
}

// Division and remainder rounding down, for negative notes.
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

const char kLetters[] = "CCDDEFFGGAAB";
const bool kSharp[12] = {false, true, false, true, false, false, true, false, true, false, true, false};
// Pitch class of C D E F G A B.
const int kClassOf[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G

} // namespace

String FormatNumber(int32_t value) {
    String s;
    s.Format("%d", value);
    return s;
}

bool ParseNumber(const char* text, int32_t& out) {
    if (!text)
        return false;
    const char *begin, *end;
    Trim(text, begin, end);
    int64_t v;
    if (!SignedDigits(begin, end, v))
        return false;
    out = int32_t(v);
    return true;
}

String NoteName(int32_t note) {
    const int64_t octave = FloorDiv(note, 12);
    const int pitch = int(int64_t(note) - octave * 12);
    String s;
    s.Format("%c%s%d", kLetters[pitch], kSharp[pitch] ? "#" : "", int(octave - 2));
    return s;
}

bool ParseNoteName(const char* text, int32_t& out) {
    if (!text)
        return false;
    const char *p, *end;
    Trim(text, p, end);
    if (p == end)
        return false;
    char letter = *p;
    if (letter >= 'a' && letter <= 'g')
        letter = char(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'G')
        return ParseNumber(text, out);
    ++p;
    int accidental = 0;
    if (p < end && *p == '#') {
        accidental = 1;
        ++p;
    } else if (p < end && *p == 'b') {
        accidental = -1;
        ++p;
    }
    int64_t octave;
    if (!SignedDigits(p, end, octave) || *p == '+')
        return false;
    const int64_t note = (octave + 2) * 12 + kClassOf[letter - 'A'] + accidental;
    if (note < INT32_MIN || note > INT32_MAX)
        return false;
    out = int32_t(note);
    return true;
}

} // namespace Corvell
