#pragma once
// A row of mode-panel tabs that opens one panel at a time. The panels are
// not its children: they stay where their owner put them, and the switch
// only shows and hides them. Clicking the open tab closes it.
#include "ui/Pane.h"
#include "ui/TabButton.h"

#include <memory>
#include <vector>

namespace Corvell {

class TabSwitch : public Pane {
public:
    TabSwitch();
    ~TabSwitch() override;

    // Appends a tab captioned name for panel (not owned) and lays the row
    // out again.
    void AddTab(const String& name, Pane* panel);
    // Moves the switch and lays its tabs out in the new bounds.
    void Place(const Rect& bounds);
    // Opens tab k (1-based); 0, anything out of range, or the tab already
    // open closes every panel.
    void Select(int k);
    int GetSelected() const { return m_selected; }
    int GetCount() const { return static_cast<int>(m_tabs.size()); }
    TabButton* Tab(int i) const { return i >= 0 && i < GetCount() ? m_tabs[size_t(i)].get() : nullptr; }
    Pane* Panel(int i) const { return i >= 0 && i < GetCount() ? m_panels[size_t(i)] : nullptr; }

    void Paint(GraphicsContext&) override {}

private:
    void Layout();
    void OnTabClick(ButtonListenerArgs args);

    std::vector<std::unique_ptr<TabButton>> m_tabs;
    std::vector<Pane*> m_panels;
    int m_selected = 0;
};

} // namespace Corvell
