#include "ui/ALabel.h"

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/GraphicsObjects.h"
#include "shared/Graphics/Palette.h"
#include "shared/Graphics/Region.h"

#include <algorithm>
#include <cmath>

namespace Corvell {

ALabel::ALabel() = default;

void ALabel::SetText(const String& text) {
    m_text = text;
    InvalidateAll();
}

void ALabel::SetFormat(uint32_t format) {
    m_format = format;
    InvalidateAll();
}

void ALabel::SetTextColor(Color color) {
    m_textColor = color;
    m_hasTextColor = true;
    InvalidateAll();
}

void ALabel::SetShadowColor(Color color) {
    m_shadowColor = color;
    m_hasShadow = true;
    InvalidateAll();
}

void ALabel::SetAngle(float degrees) {
    m_angle = degrees;
    InvalidateAll();
}

float ALabel::NormalizedAngle(float degrees) {
    if (!std::isfinite(degrees))
        return 0.0f;
    float a = std::fmod(degrees, 360.0f);
    if (a < 0.0f)
        a += 360.0f;
    return a >= 360.0f ? 0.0f : a; // a tiny negative angle rounds up to a whole turn
}

Point ALabel::TurnedTextStart(const Rect& r, float normalizedAngle) {
    if (normalizedAngle > 180.0f)
        return Point{r.x + r.width / 3, r.y};
    return Point{r.x + r.width - r.width / 3, r.y + r.height};
}

void ALabel::Paint(GraphicsContext& gc) {
    if (!m_text.IsEmpty()) {
        const Rect& b = GetBounds();
        const int32_t w = std::max(b.width - 1, 0);
        const int32_t h = std::max(b.height - 1, 0);
        const Color saved = gc.GetTextColor();
        Rect r{0, 0, b.width, b.height};
        if (m_hasShadow) {
            gc.SetTextColor(m_shadowColor);
            DrawLabelText(gc, Rect{0, 0, w, h});
            r = Rect{1, 1, w, h};
        }
        Color color = GetColor(2);
        if (IsEffectivelyEnabled())
            color = m_hasTextColor ? m_textColor : saved;
        gc.SetTextColor(color);
        DrawLabelText(gc, r);
        gc.SetTextColor(saved);
    }
    Pane::Paint(gc);
}

void ALabel::DrawLabelText(GraphicsContext& gc, const Rect& r) {
    const float angle = NormalizedAngle(m_angle);
    if (angle == 0.0f) {
        // The platform's layout clips the text to r, which lies inside the pane.
        gc.DrawText(m_text.c_str(), r, m_format);
        return;
    }
    // Made for each paint and gone with it: a label keeps no font.
    Ref<Font> font = new Font(kTurnedFace, kTurnedPoints, angle);
    // Text at a point has no box: what does not fit is cut at the pane's edges.
    const Region clip = gc.GetClip();
    const Point o = gc.GetOrigin();
    gc.IntersectClip(Rect{o.x, o.y, GetBounds().width, GetBounds().height});
    gc.DrawText(TurnedTextStart(r, angle), m_text.c_str(), -1, *font);
    gc.SetClip(clip);
}

ALabel* CreateLabel(const String& text, uint32_t format) {
    auto* label = new ALabel;
    label->SetText(text);
    label->SetFormat(format | kTextVCenter);
    label->SetTextColor(GetColor(1));
    label->SetShadowColor(MakeColor(0, 0, 0));
    return label;
}

} // namespace Corvell
