// The gallery's tab switches and control panels.
#include "gallery/WidgetGallery.h"
#include "ui/ControlPanel.h"
#include "ui/TabSwitch.h"

namespace Corvell {

namespace {
const char* const kPanelStates[] = {"closed", "open", "once", "tiled", "stretched"};
constexpr int32_t kSwitchRow = 64, kPanelRow = 48;
} // namespace

void WidgetGallery::BuildPanels(int32_t& y) {
    Headings(y, "Tabs and panels", kPanelStates, 5);

    // Two tabs over their panels; "open" has its second tab open.
    for (int32_t c = 0; c < 2; ++c) {
        const Rect cell = Cell(c, y, 120, 58, kSwitchRow);
        auto* strip = new TabSwitch;
        const char* names[] = {"Tune", "Wah"};
        for (int i = 0; i < 2; ++i) {
            auto* panel = new ControlPanel("top-panel-bg.png", ControlPanel::kImageTiled);
            m_widgets.emplace_back(panel);
            panel->Create(this, Rect{cell.x, cell.y + 24, cell.width, cell.height - 24});
            strip->AddTab(names[i], panel);
        }
        const Rect tabs{cell.x, cell.y, cell.width, 25};
        Place(strip, "TabSwitch", kPanelStates[c], tabs);
        strip->Place(tabs);
        strip->Select(c == 1 ? 2 : 0);
    }
    y += kSwitchRow;

    // One image in each mode: once at the origin, tiled, stretched.
    struct Mode {
        const char* image;
        int32_t mode;
    };
    const Mode modes[] = {{"accent-panel.png", ControlPanel::kImageOnce},
                          {"slidersloth.png", ControlPanel::kImageTiled},
                          {"button-normal.png", ControlPanel::kImageStretched}};
    for (int32_t c = 2; c < 5; ++c) {
        auto* panel = new ControlPanel(modes[c - 2].image, modes[c - 2].mode);
        Place(panel, "ControlPanel", kPanelStates[c], Cell(c, y, 120, 40, kPanelRow));
    }
    y += kPanelRow;
}

} // namespace Corvell
