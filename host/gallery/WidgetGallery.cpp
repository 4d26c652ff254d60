#include "gallery/WidgetGallery.h"

#include "gallery/GalleryListData.h"
#include "shared/Graphics/Bitmap.h"
#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"
#include "ui/Button.h"
#include "ui/CheckMark.h"
#include "ui/CheckRadioButton.h"
#include "ui/EmbossedButton.h"
#include "ui/HSlider.h"
#include "ui/HSlider3.h"
#include "ui/PlayButton.h"
#include "ui/PopupPane.h"
#include "ui/RadioMark.h"
#include "ui/SwitchButton.h"
#include "ui/SelectableButton.h"
#include "ui/SeqPageButton.h"
#include "ui/TabButton.h"
#include "ui/ToggleButton.h"
#include "ui/TooltipViewer.h"
#include "ui/VSlider.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Corvell {

namespace {

constexpr int32_t kLabelWidth = 138;
constexpr int32_t kColumnWidth = 130;
constexpr int32_t kButtonRow = 32;
constexpr int32_t kHeadingHeight = 18;

constexpr Color kBackground = 0x00302c28;  // charcoal panel
constexpr Color kCellBackground = 0x00403a34;
constexpr Color kButtonFaceDisabled = 0x00383430;
constexpr Color kTitleColor = 0x0040b0f0;  // amber
constexpr Color kTextColor = 0x00d8d8d8;

const char* const kButtonStates[] = {"normal", "hovered", "pressed", "on", "disabled"};
const char* const kSliderStates[] = {"minimum", "maximum", "dragging", "disabled"};
enum ButtonColumn { kNormal, kHovered, kPressed, kOn, kDisabled };
enum SliderColumn { kMinimum, kMaximum, kDragging, kSliderDisabled };

// Ranges the gallery's controls give the parameters they show.
struct Range {
    ERnCPars par;
    int32_t minimum, maximum;
};

ERnCPars Par(int n) { return static_cast<ERnCPars>(n); }

// The booleans the toggles show: the first of each pair for the columns
// that start off, the second for the column that starts on.
struct TogglePars {
    ERnCPars off, on;
};
const TogglePars kToggle[] = {
    {rncHold, Par(32)},  {Par(37), Par(39)}, {Par(42), Par(45)}, {Par(46), rncSoloHold}, {Par(55), rncSilentMode},
    {Par(60), Par(66)},  {Par(67), Par(73)}, {Par(75), rncWheelsOnPressedKeys},         {Par(96), rncAutoFretPosition},
    {Par(84), Par(85)},
};

// The values the sliders show: one starting at its minimum, one at its
// maximum, one for the dragging and disabled columns.
struct SliderPars {
    ERnCPars minimum, maximum, other;
};
const SliderPars kSlider[] = {
    {Par(18), Par(21), Par(25)},       // velocities
    {Par(28), Par(40), Par(43)},       // velocities
    {Par(88), Par(89), rncPickPosition}, // velocities and the pick position
};

const Range kRanges[] = {
    {rncCapo, 0, 22},       {rncPickPosition, -7, 7}, {Par(18), 1, 127}, {Par(21), 1, 127}, {Par(25), 1, 127},
    {Par(28), 1, 127},      {Par(40), 1, 127},        {Par(43), 1, 127}, {Par(88), 1, 127}, {Par(89), 1, 127},
};

bool IsToggle(int32_t id) {
    for (const TogglePars& t : kToggle)
        if (t.off == id || t.on == id)
            return true;
    return false;
}

} // namespace

// ---- parameters -----------------------------------------------------------

int32_t WidgetGallery::Parameters::GetValue(int32_t id) { return m_rnc.GetParameter(Par(id)); }

void WidgetGallery::Parameters::SetValue(int32_t id, int32_t value) { m_rnc.SetParameter(Par(id), value); }

void WidgetGallery::Parameters::GetInfo(int32_t id, ControlInfo* out) {
    *out = ControlInfo();
    for (const Range& r : kRanges)
        if (r.par == id) {
            out->minimum = r.minimum;
            out->maximum = r.maximum;
        }
    if (IsToggle(id))
        out->maximum = 1;
    out->defaultValue = m_rnc.GetParameterDefault(Par(id));
}

void WidgetGallery::Parameters::BeginEdit(int32_t id) { m_rnc.TouchParameter(Par(id), true); }

void WidgetGallery::Parameters::EndEdit(int32_t id) { m_rnc.TouchParameter(Par(id), false); }

// ---- the gallery ----------------------------------------------------------

WidgetGallery::WidgetGallery() : m_rnc(new CVRnC(&m_site)) {
    m_site.SetRnC(m_rnc.get());
    m_parameters.reset(new Parameters(*m_rnc));
    m_listener = MakeDelegate<ERnCPars>(this, &WidgetGallery::OnParameter);
    m_rnc->AddParameterListener(m_listener.Get());
    SetBounds(Rect{0, 0, kWidth, kHeight});
    SetBackground(kBackground);
}

WidgetGallery::~WidgetGallery() {
    if (!IsClosed())
        OnDestroy();
    m_rnc->RemoveParameterListener(m_listener.Get());
    m_rnc->Attach(nullptr);
    m_site.SetRnC(nullptr);
}

void WidgetGallery::Attach(IRnC* engine) {
    m_rnc->Attach(engine);
    RefreshAll();
}

std::vector<WidgetGallery::Item> WidgetGallery::Family(const char* family) const {
    std::vector<Item> out;
    for (const Item& i : m_items)
        if (std::strcmp(i.family, family) == 0)
            out.push_back(i);
    return out;
}

void WidgetGallery::Create(Pane* parent, const Rect& bounds) {
    Pane::Create(parent, bounds);
    Build();
}

void WidgetGallery::OnDestroy() {
    // The widgets end what they hold (a press, a drag) while the engine is
    // still there to hear it, then leave.
    // The tooltips go before the widgets they describe.
    if (TooltipViewer* line = m_tooltips) {
        m_tooltips = nullptr;
        line->DeleteTooltips();
    }
    if (BasicPopupPane* p = m_popup) {
        m_popup = nullptr;
        p->Close();
    }
    m_renames.clear();
    m_bindings.clear();
    m_toggles.clear();
    for (auto it = m_widgets.rbegin(); it != m_widgets.rend(); ++it)
        (*it)->Close();
    m_items.clear();
    m_widgets.clear();
    m_headings.clear();
    Pane::OnDestroy();
}

void WidgetGallery::Build() {
    int32_t y = kMargin;
    BuildButtons(y);
    y += 6;
    BuildSliders(y);
    y += 6;
    BuildLabels(y);
    y += 6;
    BuildEditors(y);
    y += 6;
    BuildCombos(y);
    y += 6;
    BuildPanels(y);
    y += 6;
    BuildChords(y);
    y += 6;
    BuildControllerPanels(y);
    y += 6;
    BuildEffects(y);
    y += 6;
    BuildLists(y - 6);
    BuildTooltips(y);
    RefreshAll();
    InvalidateAll();
}

Rect WidgetGallery::Cell(int32_t column, int32_t y, int32_t width, int32_t height, int32_t rowHeight) const {
    const int32_t x = kMargin + kLabelWidth + column * kColumnWidth;
    return Rect{x + (kColumnWidth - width) / 2, y + (rowHeight - height) / 2, width, height};
}

void WidgetGallery::Place(Pane* widget, const char* family, const char* state, const Rect& r) {
    m_widgets.emplace_back(widget);
    widget->Create(this, r);
    m_items.push_back(Item{family, state, widget});
}

void WidgetGallery::Headings(int32_t& y, const char* title, const char* const* states, int32_t count) {
    m_headings.push_back(Heading{Rect{kMargin, y, kLabelWidth, kHeadingHeight}, title, true});
    for (int32_t c = 0; c < count; ++c)
        m_headings.push_back(
            Heading{Rect{kMargin + kLabelWidth + c * kColumnWidth, y, kColumnWidth, kHeadingHeight}, states[c], false});
    y += kHeadingHeight + 2;
}

void WidgetGallery::Write(ERnCPars par, int32_t value) {
    m_rnc->TouchParameter(par, true);
    m_rnc->SetParameter(par, value);
    m_rnc->TouchParameter(par, false);
}

void WidgetGallery::ShowState(Button* b, int32_t column) {
    const Rect& r = b->GetBounds();
    if (column == kHovered || column == kPressed) {
        // What a pointer over the button, and then its press, would send.
        MouseEvent enter(kMouseEnter, r.width / 2, r.height / 2);
        enter.Dispatch(b);
    }
    if (column == kPressed) {
        MouseEvent down(kMouseDown, r.width / 2, r.height / 2, kHeldLeft);
        down.button = kButtonLeft;
        down.clickCount = 1;
        down.Dispatch(b);
    }
    if (column == kDisabled)
        b->SetEnabled(false);
}

void WidgetGallery::SetToggle(ToggleButton* b, bool on) {
    if (auto* s = dynamic_cast<SelectableButton*>(b))
        s->SetOn(on);
    else
        b->SetOn(on);
}

void WidgetGallery::OnCapoClick(ButtonListenerArgs) {
    Write(rncCapo, (m_rnc->GetParameter(rncCapo) + 1) % 23);
}

void WidgetGallery::OnToggleClick(ButtonListenerArgs args) {
    for (const Toggle& t : m_toggles)
        if (t.button == args.button) {
            Write(t.par, m_rnc->GetParameter(t.par) ? 0 : 1);
            return;
        }
}

void WidgetGallery::BuildButtons(int32_t& y) {
    Headings(y, "Buttons", kButtonStates, 5);

    struct Row {
        const char* family;
        int32_t width, height;
        std::function<ToggleButton*()> make;
    };
    auto withImages = [](SelectableButton* b, const char* normal, const char* pressed) {
        b->SetImages(GetImage(normal), GetImage(pressed));
        return b;
    };
    auto face = [](ToggleButton* b) {
        b->SetBackground(kButtonFace);
        b->SetDisabledBackground(kButtonFaceDisabled);
        return b;
    };

    // A command button: each click steps the capo, and its caption shows it.
    for (int32_t c = 0; c < 5; ++c) {
        if (c == kOn)
            continue; // a plain button has no on state
        auto* b = new Button;
        b->SetBackground(kButtonFace);
        b->SetDisabledBackground(kButtonFaceDisabled);
        Place(b, "Button", kButtonStates[c], Cell(c, y, 90, 24, kButtonRow));
        b->AddClickListener(MakeDelegate<ButtonListenerArgs>(this, &WidgetGallery::OnCapoClick));
        m_bindings.push_back(Binding{rncCapo, [this, b] {
                                         char text[32];
                                         std::snprintf(text, sizeof text, "Capo %d", m_rnc->GetParameter(rncCapo));
                                         b->SetCaption(text);
                                     }});
        ShowState(b, c);
    }
    y += kButtonRow;

    const Row rows[] = {
        {"ToggleButton", 90, 24, [&] {
             auto* b = face(new ToggleButton);
             b->SetCaption("Hold");
             return b;
         }},
        {"SelectableButton", 90, 27, [&] {
             auto* b = withImages(new SelectableButton, "button-normal.png", "button-pressed.png");
             b->SetCaption("Latch");
             return static_cast<ToggleButton*>(b);
         }},
        {"EmbossedButton", 90, 27, [&] {
             return static_cast<ToggleButton*>(
                 withImages(new EmbossedButton("Bass"), "button-normal.png", "button-pressed.png"));
         }},
        {"SeqPageButton", 90, 24, [&] {
             auto* b = new SeqPageButton;
             b->SetCaption("Solo");
             return static_cast<ToggleButton*>(b);
         }},
        {"PlayButton", 26, 27, [&] {
             return static_cast<ToggleButton*>(
                 withImages(new PlayButton, "ucm-play-normal.png", "ucm-play-pressed.png"));
         }},
        {"TabButton", 130, 30, [&] { return static_cast<ToggleButton*>(new TabButton("Chords")); }},
        {"CheckRadioButton", 110, 16,
         [&] { return static_cast<ToggleButton*>(new CheckRadioButton(CheckRadioButton::Kind::Check, "Hammer-on")); }},
        {"RadioMark", 16, 16, [&] { return static_cast<ToggleButton*>(new RadioMark); }},
        {"CheckMark", 16, 16, [&] { return static_cast<ToggleButton*>(new CheckMark); }},
        {"SwitchButton", 16, 16, [&] { return static_cast<ToggleButton*>(new SwitchButton); }},
    };
    static_assert(sizeof rows / sizeof rows[0] == sizeof kToggle / sizeof kToggle[0], "a pair of booleans a row");

    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const Row& row = rows[i];
        for (int32_t c = 0; c < 5; ++c) {
            ToggleButton* b = row.make();
            const ERnCPars par = c == kOn ? kToggle[i].on : kToggle[i].off;
            Place(b, row.family, kButtonStates[c], Cell(c, y, row.width, row.height, kButtonRow));
            b->AddClickListener(MakeDelegate<ButtonListenerArgs>(this, &WidgetGallery::OnToggleClick));
            m_toggles.push_back(Toggle{b, par});
            m_bindings.push_back(Binding{par, [this, b, par] { SetToggle(b, m_rnc->GetParameter(par) != 0); }});
            Write(par, c == kOn ? 1 : 0);
            ShowState(b, c);
        }
        y += kButtonRow;
    }
}

void WidgetGallery::BuildSliders(int32_t& y) {
    Headings(y, "Sliders", kSliderStates, 4);
    struct Row {
        const char* family;
        int32_t width, height, rowHeight;
        std::function<Slider*()> make;
    };
    const Row rows[] = {
        {"HSlider", 110, 21, 28, [] { return static_cast<Slider*>(new HSlider); }},
        {"VSlider", 30, 70, 76, [] { return static_cast<Slider*>(new VSlider); }},
        {"HSlider3", 120, 15, 26, [] { return static_cast<Slider*>(new HSlider3); }},
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const Row& row = rows[i];
        const SliderPars& pars = kSlider[i];
        for (int32_t c = 0; c < 4; ++c) {
            const ERnCPars par = c == kMinimum ? pars.minimum : c == kMaximum ? pars.maximum : pars.other;
            ControlInfo info;
            m_parameters->GetInfo(par, &info);
            if (c == kMinimum)
                Write(par, info.minimum);
            else if (c == kMaximum)
                Write(par, info.maximum);
            Slider* s = row.make();
            s->SetAdapter(m_parameters.get(), par);
            Place(s, row.family, kSliderStates[c], Cell(c, y, row.width, row.height, row.rowHeight));
            m_bindings.push_back(Binding{par, [s] { s->Refresh(); }});
            if (c == kDragging) {
                // A press on the slider, held: the dragging look.
                const Rect& b = s->GetBounds();
                MouseEvent down(kMouseDown, b.width / 2, b.height / 2, kHeldLeft);
                down.button = kButtonLeft;
                down.clickCount = 1;
                down.Dispatch(s);
            } else if (c == kSliderDisabled) {
                s->SetEnabled(false);
            }
        }
        y += row.rowHeight;
    }
}

void WidgetGallery::OnParameter(ERnCPars par) {
    for (const Binding& b : m_bindings)
        if (b.par == par)
            b.refresh();
}

void WidgetGallery::RefreshAll() {
    for (const Binding& b : m_bindings)
        b.refresh();
}

void WidgetGallery::Paint(GraphicsContext& gc) {
    for (const Item& i : m_items) {
        const Rect& r = i.pane->GetBounds();
        gc.FillRect(Rect{r.x - 2, r.y - 2, r.width + 4, r.height + 4}, kCellBackground);
    }
    const Color saved = gc.GetTextColor();
    for (const Heading& h : m_headings) {
        gc.SetTextColor(h.title ? kTitleColor : kTextColor);
        gc.DrawText(h.text, h.rect, h.title ? kTextVCenter | kTextSingleLine
                                            : kTextCenter | kTextVCenter | kTextSingleLine);
    }
    // Family names beside their rows.
    const char* last = nullptr;
    int32_t lastBottom = 0;
    gc.SetTextColor(kTextColor);
    for (const Item& i : m_items) {
        if (last && std::strcmp(last, i.family) == 0)
            continue;
        last = i.family;
        const Rect& r = i.pane->GetBounds();
        // A family that shares a row with another is named by its caption.
        const int32_t top = r.y + r.height / 2 - 8;
        if (top < lastBottom)
            continue;
        lastBottom = top + 16;
        // A long name may use the room up to its row's first cell.
        const int32_t room = std::max(kLabelWidth, r.x - 2 - kMargin);
        gc.DrawText(i.family, Rect{kMargin, top, room, 16}, kTextVCenter | kTextSingleLine);
    }
    gc.SetTextColor(saved);
}

} // namespace Corvell
