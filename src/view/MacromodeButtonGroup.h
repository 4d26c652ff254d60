#pragma once
// The strip of the five macromodes under the neck: one image per state,
// cut into five slices, one button each. Exactly one slice shows "on".
#include "shared/Graphics/Bitmap.h"
#include "ui/Button.h"
#include "ui/Pane.h"

#include <array>

namespace Corvell {

class MacromodeButtonGroup : public Pane {
public:
    static constexpr int kCount = 5;
    static constexpr int32_t kDefaultWidth = 786;
    static constexpr int32_t kDefaultHeight = 34;
    enum Look { Off, On, OffPushed, OnPushed, kLooks };

    MacromodeButtonGroup();
    ~MacromodeButtonGroup() override;

    // The strip's size, from its images.
    int32_t StripWidth() const;
    int32_t StripHeight() const;

    // -1 (and anything outside 0..4): none is on.
    void SetSelected(int m);
    int GetSelected() const { return m_selected; }
    // Told the index of a clicked slice; may delete the group.
    void SetChoiceListener(Ref<Delegate1<int>> l) { m_choice = std::move(l); }

    Button* GetButton(int i) const { return (i >= 0 && i < kCount) ? m_buttons[size_t(i)] : nullptr; }
    Bitmap* GetImage(Look look) const { return m_images[size_t(look)].Get(); }

private:
    class MacromodeButton;
    void OnClick(ButtonListenerArgs args);

    std::array<Ref<Bitmap>, kLooks> m_images;
    std::array<Button*, kCount> m_buttons{};
    Ref<Delegate1<int>> m_choice;
    int m_selected = -1;
};

} // namespace Corvell
