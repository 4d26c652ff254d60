#include "view/PageContainer.h"

#include "shared/Graphics/Palette.h"

namespace Corvell {

namespace {
constexpr int32_t kPageColor = 9; // palette entry of an empty page
}

PageContainer::PageContainer(const Rect& bounds, Color background, const std::vector<const char*>& captions,
                             Ref<Delegate1<int>> clicked)
    : m_clicked(std::move(clicked)) {
    SetBounds(bounds);
    SetBackground(background);
    for (size_t i = 0; i < captions.size(); ++i) {
        std::unique_ptr<Pane> slot(new Pane);
        slot->SetBounds(Rect{1, kTabHeight, bounds.width - 1, bounds.height - kTabHeight});
        slot->SetBackground(GetColor(kPageColor));
        slot->SetVisible(false);
        AddChild(slot.get());
        m_slots.push_back(std::move(slot));

        std::unique_ptr<TabButton> tab(new TabButton(captions[i]));
        tab->Create(this, Rect{1 + kTabWidth * int32_t(i), 1, kTabWidth, kTabHeight});
        tab->SetId(kFirstTabId + int32_t(i));
        tab->AddClickListener(MakeDelegate<ButtonListenerArgs>(this, &PageContainer::OnTabClick));
        m_tabs.push_back(std::move(tab));
    }
}

PageContainer::~PageContainer() {
    // Tabs before slots: nothing of a tab outlives what it sits on.
    m_tabs.clear();
    m_slots.clear();
}

void PageContainer::Select(int index) {
    m_selected = Valid(index) ? index : -1;
    for (int i = 0; i < GetCount(); ++i) {
        m_tabs[size_t(i)]->ToggleButton::SetOn(i == m_selected);
        m_slots[size_t(i)]->SetVisible(i == m_selected);
    }
}

void PageContainer::OnTabClick(ButtonListenerArgs args) {
    if (args.mouseButton != kButtonLeft)
        return;
    for (int i = 0; i < GetCount(); ++i)
        if (m_tabs[size_t(i)].get() == args.button) {
            Ref<Delegate1<int>> clicked = m_clicked;
            if (clicked)
                clicked->Invoke(i);
            return;
        }
}

} // namespace Corvell
