#include "ui/TabSwitch.h"

#include <algorithm>

namespace Corvell {

TabSwitch::TabSwitch() = default;

TabSwitch::~TabSwitch() { m_tabs.clear(); }

void TabSwitch::AddTab(const String& name, Pane* panel) {
    std::unique_ptr<TabButton> tab(new TabButton(name));
    tab->Create(this, Rect{});
    tab->AddClickListener(MakeDelegate<ButtonListenerArgs>(this, &TabSwitch::OnTabClick));
    tab->ToggleButton::SetOn(false);
    if (panel) // a new tab is never the open one
        panel->SetVisible(false);
    m_tabs.push_back(std::move(tab));
    m_panels.push_back(panel);
    Layout();
}

void TabSwitch::Place(const Rect& bounds) {
    SetBounds(bounds);
    Layout();
}

// n tabs share the width; each overlaps its neighbours by a few pixels so
// their bevels meet.
void TabSwitch::Layout() {
    const int32_t n = static_cast<int32_t>(m_tabs.size());
    if (n == 0)
        return;
    const Rect& r = GetBounds();
    const int32_t b = (r.width - 3) / n, a = r.width % n;
    for (int32_t i = 0; i < n; ++i)
        m_tabs[size_t(i)]->SetBounds(Rect{std::min(i, a) + b * i - 1, 0, b + (i < a ? 1 : 0) + 3, r.height});
}

void TabSwitch::Select(int k) {
    if (k < 0 || k > GetCount() || k == m_selected)
        k = 0;
    m_selected = k;
    for (int i = 0; i < GetCount(); ++i) {
        const bool open = i + 1 == k;
        // Not SetOn: the switch tells no one but shows what it holds.
        m_tabs[size_t(i)]->ToggleButton::SetOn(open);
        if (Pane* panel = m_panels[size_t(i)])
            panel->SetVisible(open);
    }
}

void TabSwitch::OnTabClick(ButtonListenerArgs args) {
    if (args.mouseButton != kButtonLeft)
        return;
    for (int i = 0; i < GetCount(); ++i)
        if (m_tabs[size_t(i)].get() == args.button) {
            Select(i + 1);
            return;
        }
    Select(0);
}

} // namespace Corvell
