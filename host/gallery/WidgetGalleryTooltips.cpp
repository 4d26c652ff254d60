// The gallery's help line: every widget has a tooltip, and the line at the
// bottom shows the text of the one under the pointer, with the value or
// state of those that have one, following it while it changes.
#include "gallery/WidgetGallery.h"

#include "ui/Combo.h"
#include "ui/NoteNumEditor.h"
#include "ui/NumEditor.h"
#include "ui/SelectableButton.h"
#include "ui/Slider.h"
#include "ui/ToggleButton.h"
#include "ui/Tooltip.h"
#include "ui/TooltipViewer.h"

namespace Corvell {

namespace {
constexpr Color kLineFace = MakeColor(20, 20, 22);
constexpr int32_t kLineHeight = 22;
} // namespace

void WidgetGallery::BuildTooltips(int32_t& y) {
    auto* line = new TooltipViewer;
    line->SetBackground(kLineFace);
    line->SetFlags(kFillBackground, true);
    Place(line, "TooltipViewer", "normal", Rect{kLineLeft, y, kWidth - 2 * kLineLeft, kLineHeight});
    m_tooltips = line;
    y += kLineHeight;

    for (const Item& i : m_items) {
        if (i.pane == line)
            continue;
        const String title(i.family);
        TooltipNotifier* n = nullptr;
        if (auto* combo = dynamic_cast<Combo*>(i.pane))
            n = new ComboTooltip(combo, title);
        else if (auto* note = dynamic_cast<NoteNumEditor*>(i.pane))
            n = new NoteNumTooltip(note, title);
        else if (auto* number = dynamic_cast<NumEditor*>(i.pane))
            n = new NotifyingRangeControl(i.pane, title, number, "");
        else if (auto* slider = dynamic_cast<Slider*>(i.pane))
            n = new NotifyingRangeControl(slider, title, slider, "");
        else if (auto* selectable = dynamic_cast<SelectableButton*>(i.pane))
            n = new ToggleNotifier(selectable, title);
        else if (auto* toggle = dynamic_cast<ToggleButton*>(i.pane))
            n = new ToggleTooltip(toggle, title);
        else
            n = new TooltipNotifier(i.pane, title + ", " + i.state);
        line->AddTooltip(n);
    }
    // A tab first: the hint is drawn from the left.
    line->Show("\tPoint at a widget: its tooltip shows here.");
}

} // namespace Corvell
