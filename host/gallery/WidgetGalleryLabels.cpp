// The gallery's section of plain panes and labels: backgrounds, frames,
// separators, the glass and labels in each alignment and state.
#include "gallery/WidgetGallery.h"

#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"
#include "ui/ALabel.h"
#include "ui/ColorPane.h"
#include "ui/GlassPane.h"
#include "ui/GrayPane.h"
#include "ui/GroupBox.h"
#include "ui/HorizontalSeparator.h"

#include <functional>

namespace Corvell {

namespace {

const char* const kPaneStates[] = {"enabled", "disabled", "centred", "right", "cut short"};

// The popup content's grey: palette 9 at 90 %.
constexpr Color kPanelGrey = MakeColor(46, 46, 46);

} // namespace

void WidgetGallery::BuildLabels(int32_t& y) {
    Headings(y, "Panes and labels", kPaneStates, 5);

    // Each pane family enabled and disabled: they look the same either way.
    struct Row {
        const char* family;
        int32_t width, height, rowHeight;
        std::function<Pane*()> make;
    };
    const Row rows[] = {
        {"ColorPane", 90, 16, 22, [] { return new ColorPane(GetColor(7)); }},
        {"GrayPane", 90, 16, 22, [] { return new GrayPane(kPanelGrey); }},
        {"GroupBox", 90, 22, 26, [] { return new GroupBox; }},
        {"HorizontalSeparator", 90, 9, 14, [] { return new HorizontalSeparator; }},
        // The editors' own glass has no image; this one shows how an image is fitted.
        {"GlassPane", 90, 20, 24, [] { return static_cast<Pane*>(new GlassPane("ucm-button-normal.png")); }},
    };
    for (const Row& row : rows) {
        for (int32_t c = 0; c < 2; ++c) {
            Pane* p = row.make();
            Place(p, row.family, kPaneStates[c], Cell(c, y, row.width, row.height, row.rowHeight));
            p->SetEnabled(c == 0);
        }
        y += row.rowHeight;
    }

    // Labels as the layouts make them, one per alignment and state.
    struct Label {
        const char* state;
        const char* text;
        uint32_t format;
        int32_t width;
    };
    const Label labels[] = {
        {"enabled", "Left aligned", 0, 120},
        {"disabled", "Disabled", 0, 120},
        {"centred", "Centred", kTextCenter, 120},
        {"right", "Right aligned", kTextRight, 120},
        {"cut short", "A caption longer than its label", 0, 120},
    };
    constexpr int32_t kLabelRow = 26;
    for (int32_t c = 0; c < 5; ++c) {
        const Label& l = labels[c];
        ALabel* label = CreateLabel(l.text, l.format);
        Place(label, "ALabel", l.state, Cell(c, y, l.width, 22, kLabelRow));
        label->SetEnabled(c != 1);
    }
    y += kLabelRow;

    // Turned a quarter: reading upwards from the bottom edge.
    constexpr int32_t kTurnedRow = 50;
    const char* const turned[] = {"turned", "turned, disabled"};
    for (int32_t c = 0; c < 2; ++c) {
        ALabel* label = CreateLabel("Strum", 0);
        label->SetAngle(90.0f);
        Place(label, "ALabel", turned[c], Cell(c, y, 20, 46, kTurnedRow));
        label->SetEnabled(c == 0);
    }
    y += kTurnedRow;
}

} // namespace Corvell
