#pragma once
// Picks one of four velocity curves from an image strip. A press on a
// curve tells the owner; the selection moves only when the owner says so
// (when the engine has taken the choice).
#include "shared/Graphics/Bitmap.h"
#include "ui/Pane.h"
#include "ui/core/Delegate.h"

namespace Corvell {

class CurveSwitcher : public Pane {
public:
    static constexpr int32_t kCurves = 4;

    CurveSwitcher();

    // -1, or anything outside 0..3: none.
    void SetSelected(int32_t curve);
    int32_t GetSelected() const { return m_selected; }
    // Told the curve pressed.
    void SetPickListener(Ref<Delegate1<int>> l) { m_pick = std::move(l); }
    // Where curve i takes presses; empty outside 0..3.
    static Rect HitRect(int32_t i);
    // The curve under p, or -1.
    static int32_t CurveAt(Point p);

    void Paint(GraphicsContext& gc) override;
    void OnMouseEvent(MouseEvent& e) override;

private:
    Ref<Bitmap> m_curves;
    Ref<Bitmap> m_pressed;
    int32_t m_selected = -1;
    Ref<Delegate1<int>> m_pick;
};

} // namespace Corvell
