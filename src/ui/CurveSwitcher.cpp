#include "ui/CurveSwitcher.h"

#include "shared/Graphics/GraphicsContext.h"

namespace Corvell {

CurveSwitcher::CurveSwitcher() : m_curves(GetImage("curves")), m_pressed(GetImage("curvesPressed")) {}

Rect CurveSwitcher::HitRect(int32_t i) {
    if (i < 0 || i >= kCurves)
        return Rect{0, 0, 0, 0};
    return Rect{2 + 30 * i, 1, 26, 26};
}

int32_t CurveSwitcher::CurveAt(Point p) {
    for (int32_t i = 0; i < kCurves; ++i) {
        const Rect r = HitRect(i);
        if (p.x >= r.x && p.x < r.x + r.width && p.y >= r.y && p.y < r.y + r.height)
            return i;
    }
    return -1;
}

void CurveSwitcher::SetSelected(int32_t curve) {
    const int32_t c = curve >= 0 && curve < kCurves ? curve : -1;
    if (c == m_selected)
        return;
    m_selected = c;
    InvalidateAll();
}

void CurveSwitcher::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    if (m_curves && m_curves->Width() > 0)
        gc.DrawImage(Point{0, 0}, m_curves.Get());
    if (m_selected >= 0 && m_pressed && m_pressed->Width() > 0) {
        // The selected curve's cell, a pixel wider all round, from the pressed strip.
        const Rect h = HitRect(m_selected);
        const Rect cell{h.x - 1, h.y - 1, h.width + 2, h.height + 2};
        gc.DrawImage(Point{cell.x, cell.y}, m_pressed.Get(), cell);
    }
}

void CurveSwitcher::OnMouseEvent(MouseEvent& e) {
    PaneGuard self(this);
    if (e.type == kMouseDown && e.button == kButtonLeft) {
        const int32_t curve = CurveAt(Point{e.x, e.y});
        if (curve >= 0) {
            if (Ref<Delegate1<int>> pick = m_pick)
                pick->Invoke(curve);
        }
    }
    if (self.IsAlive())
        Pane::OnMouseEvent(e);
}

} // namespace Corvell
