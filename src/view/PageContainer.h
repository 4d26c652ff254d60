#pragma once
// A macromode's container: a row of tabs over one page slot per tab. The
// pages of later parts go into the slots; the tab of the shown page is
// pressed. Tabs change state only through Select, which tells no one, so
// showing the engine's play mode never writes it back.
#include "ui/Pane.h"
#include "ui/TabButton.h"
#include "ui/core/Delegate.h"

#include <memory>
#include <vector>

namespace Corvell {

class PageContainer : public Pane {
public:
    static constexpr int32_t kTabWidth = 130;
    static constexpr int32_t kTabHeight = 30;
    static constexpr int32_t kFirstTabId = 75; // play-mode tabs, in page order

    // captions: one tab and one slot each. clicked hears the tab's index
    // when the user clicks it (and may delete the container).
    PageContainer(const Rect& bounds, Color background, const std::vector<const char*>& captions,
                  Ref<Delegate1<int>> clicked);
    ~PageContainer() override;

    // Shows page index and presses its tab; anything outside the tabs
    // shows none.
    void Select(int index);
    int GetSelected() const { return m_selected; }
    int GetCount() const { return static_cast<int>(m_tabs.size()); }
    TabButton* Tab(int i) const { return Valid(i) ? m_tabs[size_t(i)].get() : nullptr; }
    Pane* Slot(int i) const { return Valid(i) ? m_slots[size_t(i)].get() : nullptr; }

private:
    bool Valid(int i) const { return i >= 0 && i < GetCount(); }
    void OnTabClick(ButtonListenerArgs args);

    std::vector<std::unique_ptr<TabButton>> m_tabs;
    std::vector<std::unique_ptr<Pane>> m_slots;
    Ref<Delegate1<int>> m_clicked;
    int m_selected = -1;
};

} // namespace Corvell
