#pragma once
// The note picker: seven natural notes, an accidental after C, D, F, G and
// A, and, when it has a text, a "none" button at the right. The note it
// shows as picked is marked; a click tells the picked pitch class (-1 for
// none) to the pick listener.
#include "ui/GroupBox.h"
#include "ui/SelectableButton.h"
#include "ui/core/Delegate.h"
#include "ui/core/String.h"

#include <memory>

namespace Corvell {

class CNoteView : public GroupBox {
public:
    static constexpr int32_t kNoneWidth = 24;

    CNoteView();
    ~CNoteView() override;

    // Lays the buttons out in the new bounds.
    void Create(Pane* parent, const Rect& bounds) override;
    void SetFlatNames(bool flats);
    // Empty: no "none" button.
    void SetNoneText(const String& text);
    // Marks the buttons of pc (-1 or anything else: none).
    void SetSelected(int32_t pc);
    int32_t GetSelected() const { return m_selected; }
    // Told the picked pitch class; may close the picker.
    void SetPickListener(Ref<Delegate1<int>> l) { m_pick = std::move(l); }

    // Null for an index out of range, and for the accidentals after E and B.
    SelectableButton* Natural(int32_t i) const { return i >= 0 && i < 7 ? m_naturals[i].get() : nullptr; }
    SelectableButton* Accidental(int32_t i) const { return i >= 0 && i < 7 ? m_accidentals[i].get() : nullptr; }
    SelectableButton* NoneButton() const { return m_none.get(); }

private:
    void Layout();
    void Mark();
    void Picked(int pc);
    std::unique_ptr<SelectableButton> MakeButton(const String& caption, int pc);

    std::unique_ptr<SelectableButton> m_naturals[7];
    // Indexed by the natural each follows: none after E and B.
    std::unique_ptr<SelectableButton> m_accidentals[7];
    std::unique_ptr<SelectableButton> m_none;
    String m_noneText;
    bool m_flats = false;
    int32_t m_selected = -1;
    Ref<Delegate1<int>> m_pick;
};

} // namespace Corvell
