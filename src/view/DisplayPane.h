#pragma once
// The display in the middle of the view: the guitar selector, the sample
// player's read-outs and the status line.
#include "binding/GuitarSelector.h"
#include "ui/ALabel.h"
#include "ui/ChordView.h"
#include "ui/Pane.h"
#include "ui/TooltipViewer.h"

#include <memory>

namespace Corvell {

class DisplayPane : public Pane {
public:
    static constexpr Rect kBounds{(800 - 300) / 2, 60, 300, 112};
    static constexpr Rect kInner{10, 10, 280, 92};
    // In the inner pane's coordinates.
    static constexpr Rect kSelector{5, 5, 270, 20};
    static constexpr Rect kVoices{10, 24, 40, 20};
    static constexpr Rect kMemory{230, 24, 40, 20};
    static constexpr Rect kStatus{5, 67, 270, 20};
    // Where the chord display goes; the chord model fills it.
    static constexpr Rect kChord{200, 42, 40, 25};
    static constexpr int32_t kImageMissingColor = 9; // palette entry
    static constexpr int32_t kTextColor = 8;         // palette entry

    // guitars: the view's guitar proxy, which outlives the display.
    explicit DisplayPane(IGuitar* guitars);

    void Paint(GraphicsContext& gc) override;

    GuitarSelector* Selector() const { return m_selector.get(); }
    ALabel* Voices() const { return m_voices.get(); }
    ALabel* Memory() const { return m_memory.get(); }
    TooltipViewer* Status() const { return m_status.get(); }
    Pane* Inner() const { return m_inner.get(); }
    // The chord the engine plays.
    ChordView* Chord() const { return m_chord.get(); }

private:
    // The inner pane is declared first so its children go before it.
    std::unique_ptr<Pane> m_inner;
    std::unique_ptr<GuitarSelector> m_selector;
    std::unique_ptr<ALabel> m_voices;
    std::unique_ptr<ALabel> m_memory;
    std::unique_ptr<TooltipViewer> m_status;
    std::unique_ptr<ChordView> m_chord;
};

} // namespace Corvell
