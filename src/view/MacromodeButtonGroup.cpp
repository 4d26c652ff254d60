#include "view/MacromodeButtonGroup.h"

namespace Corvell {

class MacromodeButtonGroup::MacromodeButton : public Button {
public:
    MacromodeButton(MacromodeButtonGroup* group, int index) : m_group(group), m_index(index) {}

    bool IsOn() const override { return m_group->m_selected == m_index; }

    void Paint(GraphicsContext& gc) override {
        const bool on = IsOn();
        const bool pushed = IsPressed();
        const Look look = pushed ? (on ? OnPushed : OffPushed) : (on ? On : Off);
        Bitmap* image = m_group->GetImage(look);
        if (!image || image->Width() <= 0)
            return;
        const int32_t slice = image->Width() / kCount;
        const Rect source{slice * m_index, 0, GetBounds().width, image->Height()};
        gc.DrawImage(Point{0, 0}, image, source);
    }

private:
    MacromodeButtonGroup* m_group;
    int m_index;
};

MacromodeButtonGroup::MacromodeButtonGroup() {
    static const char* const kNames[kLooks] = {"macromodes-off.png", "macromodes-on.png",
                                               "macromodes-off-pushed.png", "macromodes-on-pushed.png"};
    for (int i = 0; i < kLooks; ++i)
        m_images[size_t(i)] = Corvell::GetImage(kNames[i]);
    const int32_t w = StripWidth(), h = StripHeight();
    const int32_t slice = w / kCount;
    for (int i = 0; i < kCount; ++i) {
        auto* b = new MacromodeButton(this, i);
        // The last slice takes what the division left over.
        const int32_t width = i == kCount - 1 ? w - slice * (kCount - 1) : slice;
        b->SetBounds(Rect{slice * i, 0, width, h});
        b->AddClickListener(MakeDelegate<ButtonListenerArgs>(this, &MacromodeButtonGroup::OnClick));
        AddChild(b);
        m_buttons[size_t(i)] = b;
    }
    SetBounds(Rect{0, 0, w, h});
}

MacromodeButtonGroup::~MacromodeButtonGroup() {
    for (Button*& b : m_buttons) {
        delete b;
        b = nullptr;
    }
}

// Without its images the strip keeps the size the artwork has, so the
// slices can still be clicked.
int32_t MacromodeButtonGroup::StripWidth() const {
    return m_images[Off] && m_images[Off]->Width() > 0 ? m_images[Off]->Width() : kDefaultWidth;
}

int32_t MacromodeButtonGroup::StripHeight() const {
    return m_images[Off] && m_images[Off]->Height() > 0 ? m_images[Off]->Height() : kDefaultHeight;
}

void MacromodeButtonGroup::SetSelected(int m) {
    const int selected = (m >= 0 && m < kCount) ? m : -1;
    if (selected == m_selected)
        return;
    for (int i : {m_selected, selected})
        if (Button* b = GetButton(i))
            b->Invalidate(b->LocalBounds());
    m_selected = selected;
}

void MacromodeButtonGroup::OnClick(ButtonListenerArgs args) {
    if (args.mouseButton != kButtonLeft)
        return;
    for (int i = 0; i < kCount; ++i)
        if (m_buttons[size_t(i)] == args.button) {
            Ref<Delegate1<int>> choice = m_choice;
            if (choice)
                choice->Invoke(i);
            return;
        }
}

} // namespace Corvell
