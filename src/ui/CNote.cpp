#include "ui/CNote.h"

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"
#include "ui/Combo.h"
#include "ui/core/Chords.h"

#include <string>

namespace Corvell {

namespace {
constexpr int32_t kDefaultFace = 3; // any index past the named faces
constexpr int32_t kBold = 0x1;
constexpr uint32_t kLine = kTextVCenter | kTextSingleLine | kTextNoPrefix;
} // namespace

CNote::CNote(const String& placeholder, const String& prefix)
    : m_placeholder(placeholder), m_prefix(prefix), m_arrow(GetImage("combo-triangle.png")),
      m_regular(new Font(kDefaultFace, 14.0f, 0, Font::Points)), m_bold(new Font(kDefaultFace, 14.0f, kBold, Font::Points)),
      m_small(new Font(kDefaultFace, 11.0f, kBold, Font::Points)) {}

void CNote::SetPitch(int32_t pc) {
    const int32_t p = Chords::IsPitchClass(pc) ? pc : -1;
    if (p == m_pitch)
        return;
    m_pitch = p;
    InvalidateAll();
}

void CNote::SetFlatNames(bool flats) {
    if (flats == m_flats)
        return;
    m_flats = flats;
    InvalidateAll();
}

void CNote::Paint(GraphicsContext& gc) {
    Button::Paint(gc);
    const Rect r = LocalBounds();
    int32_t room = r.width;
    // The arrow where a combo has it.
    const int32_t area = Combo::DrawArrowStrip(gc, m_arrow.Get(), Size{r.width, r.height}, IsEffectivelyEnabled());
    if (area >= 0)
        room = r.width - area;
    const Color saved = gc.GetTextColor();
    gc.SetTextColor(IsEffectivelyEnabled() ? GetColor(1) : GetColor(2));
    if (m_pitch < 0) {
        gc.DrawText(m_placeholder.c_str(), Rect{0, 0, room, r.height}, kLine | kTextCenter, *m_regular);
    } else {
        const Chords::Spelling s = Chords::Spell(m_pitch, m_flats);
        const std::string letter = std::string(m_prefix.c_str()) + s.letter;
        const int32_t lw = gc.MeasureText(letter.c_str(), *m_bold, kLine).width;
        const int32_t aw = *s.accidental ? gc.MeasureText(s.accidental, *m_small, kLine).width : 0;
        const int32_t x = (room - lw - aw) / 2;
        gc.DrawText(letter.c_str(), Rect{x, 0, lw, r.height}, kLine, *m_bold);
        // The accidental in the upper two thirds, right after the letter.
        if (aw > 0)
            gc.DrawText(s.accidental, Rect{x + lw, 0, aw, r.height * 2 / 3}, kLine, *m_small);
    }
    gc.SetTextColor(saved);
}

} // namespace Corvell
