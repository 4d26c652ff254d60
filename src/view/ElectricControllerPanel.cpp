#include "view/ElectricControllerPanel.h"

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"
#include "ui/core/FunctionDelegate.h"

#include <algorithm>
#include <string>

namespace Corvell {

constexpr int ElectricControllerPanel::kParameters[14];

namespace {

enum Par : int {
    kUpDestination = 5, kUpSteps = 6, kUpRange = 7,
    kWheelDestination = 8, kWheelSteps = 9, kWheelRange = 10,
    kTouchDestination = 11, kTouchRange = 12, kCurve = 13,
    kDownDestination = 78, kDownSteps = 79, kDownRange = 80,
    kPedal = 81, kFootage = 91,
};
// Shown destinations, as indexes of the pitch-bend-up list.
enum Shown : int { kOff = 0, kSlide = 1, kPitch = 2, kVeloAdd = 3, kMonoBend = 4, kSustainer = 5 };
constexpr int kNoRange = -11; // pitch bend down: no range chosen yet
constexpr int kRangeOffset = 10;

const char* const kUpItems[] = {"Off", "Slide", "Pitch", "Velo Add", "Mono Bend", "Sustainer"};
const char* const kDownItems[] = {"same as up", "Off", "Slide", "Pitch", "Velo Add", "Mono Bend", "Sustainer"};
const char* const kWheelItems[] = {"Off", "Slide", "Pitch", "Modulation", "Mono Bend"};
const char* const kTouchItems[] = {"Off", "Pitch", "Modulation", "Sustainer", "Feedbacker"};
const char* const kPedalItems[] = {"Sustain",         "Chucka Full",     "Chucka Mute",
                                   "Chucka Mute Sust", "Open Strings Lock", "Wah: MIDI Ctrl",
                                   "Wah: Auto Positive", "Wah: Auto Negative", "Wah: Modulation"};
const char* const kFootageItems[] = {"8", "5'", "8'", "5''", "8''", "5'''"};
const char* const kRangeItems[] = {"12", "11", "10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "1/2", "1/4", "1/8"};
const char* const kTouchRangeItems[] = {"2", "1", "1/2", "1/4", "1/8"};
const char* const kRowNames[] = {"P.B.", "P.B.(Down)", "M.W.", "A.T."};

int Swap34(int v) { return v == 3 ? 4 : v == 4 ? 3 : v; }
bool IsRangeShown(int row, int shown) {
    if (row == ElectricControllerPanel::kWheel)
        return shown == kPitch || shown == kMonoBend;
    return shown == kPitch || shown == kMonoBend || shown == kSustainer;
}

template <size_t N>
void Fill(Combo& c, const char* const (&items)[N], size_t count = N) {
    for (size_t i = 0; i < count && i < N; ++i)
        c.AddItem(items[i]);
}

} // namespace

ElectricControllerPanel::ElectricControllerPanel(IRnC* rnc, int kind)
    : m_rnc(rnc), m_kind(kind >= kSolo && kind <= kChords ? kind : kSolo) {
    const bool full = m_kind == kSolo;
    for (int row = 0; row < kRows; ++row) {
        m_destination[row].reset(new BCombo);
        m_amount[row].reset(new BCombo);
    }
    Fill(*m_destination[kBendUp], kUpItems, full ? 6 : 4);
    if (full)
        Fill(*m_destination[kBendDown], kDownItems);
    Fill(*m_destination[kWheel], kWheelItems, full ? 5 : 4);
    Fill(*m_destination[kTouch], kTouchItems, full ? 5 : 3);
    m_footage.reset(new BCombo);
    Fill(*m_footage, kFootageItems);
    if (m_kind == kChords) {
        m_pedal.reset(new BCombo);
        Fill(*m_pedal, kPedalItems);
    }
    m_curves.reset(new CurveSwitcher);

    const Ref<Bitmap> arrow = GetImage("combo-triangle.png");
    auto own = [this, &arrow](Combo* c) {
        c->SetTriangleImage(arrow);
        AddChild(c);
    };
    for (int row = 0; row < kRows; ++row) {
        if (!HasRow(row))
            continue;
        own(m_destination[row].get());
        own(m_amount[row].get());
        m_destination[row]->AddSelectionListener(Fn<int>([this, row](int i) { OnDestinationChosen(row, i); }));
        m_amount[row]->AddSelectionListener(Fn<int>([this, row](int i) { OnAmountChosen(row, i); }));
    }
    own(m_footage.get());
    m_footage->SetVisible(false);
    m_footage->AddSelectionListener(Fn<int>([this](int i) {
        if (m_shown[kTouch] == kSustainer)
            Write(kFootage, i);
    }));
    if (m_pedal) {
        own(m_pedal.get());
        m_pedal->AddSelectionListener(Fn<int>([this](int i) { Write(kPedal, i); }));
    }
    AddChild(m_curves.get());
    m_curves->SetPickListener(Fn<int>([this](int curve) { Write(kCurve, curve); }));

    // The engine's lists may call after the panel went: they reach it only
    // while it lives.
    m_parameterListener = Fn<ERnCPars>([alive = m_alive](ERnCPars par) {
        if (auto* panel = static_cast<ElectricControllerPanel*>(alive->Target()))
            panel->UpdateParameter(par);
    });
    m_resetListener = Fn([alive = m_alive] {
        if (auto* panel = static_cast<ElectricControllerPanel*>(alive->Target()))
            panel->UpdateAll();
    });
}

ElectricControllerPanel::~ElectricControllerPanel() {
    if (!IsClosed())
        OnDestroy();
    // A page may delete the panel while it is placed: no notice reaches it.
    Listen(false);
    m_alive->Clear();
}

void ElectricControllerPanel::OnDestroy() {
    Listen(false);
    Pane::OnDestroy();
}

void ElectricControllerPanel::Listen(bool on) {
    if (!m_rnc || on == m_listening)
        return;
    m_listening = on;
    if (on) {
        m_rnc->AddParameterListener(m_parameterListener.Get());
        m_rnc->AddResetListener(m_resetListener.Get());
    } else {
        m_rnc->RemoveResetListener(m_resetListener.Get());
        m_rnc->RemoveParameterListener(m_parameterListener.Get());
    }
}

void ElectricControllerPanel::Create(Pane* parent, const Rect& bounds) {
    Pane::Create(parent, bounds);
    Layout();
    Listen(true);
    UpdateAll();
}

void ElectricControllerPanel::Layout() {
    const int32_t w = GetBounds().width;
    m_labels.clear();
    auto label = [this](const char* text, const Rect& r) {
        std::unique_ptr<ALabel> l(CreateLabel(text, kTextRight));
        l->Create(this, r);
        m_labels.push_back(std::move(l));
    };
    label("Velo Curve:", Rect{0, 10, w - 126, 23});
    m_curves->SetBounds(Rect{w - 120, 7, 120, 28});
    int32_t y = 38;
    for (int row = 0; row < kRows; ++row) {
        if (!HasRow(row))
            continue;
        if (row == kBendUp)
            label("P.B.", Rect{0, m_kind == kSolo ? 52 : y, 40, 23});
        else if (row != kBendDown)
            label(kRowNames[row], Rect{0, y, 40, 23});
        m_destination[row]->SetBounds(Rect{44, y, w - 91, 23});
        m_amount[row]->SetBounds(Rect{w - 43, y, 40, 23});
        if (row == kTouch)
            m_footage->SetBounds(Rect{w - 43, y, 40, 23});
        y += kRowPitch;
    }
    if (m_pedal) {
        label("Pedal", Rect{0, y, 40, 23});
        m_pedal->SetBounds(Rect{44, y, w - 47, 23});
    }
}

void ElectricControllerPanel::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    Combo* up = m_destination[kBendUp].get();
    Combo* down = m_destination[kBendDown].get();
    if (!HasRow(kBendDown) || !up->IsVisible() || !down->IsVisible())
        return;
    // A bracket from the "P.B." label to both pitch-bend rows.
    const Color c = GetColor(2);
    for (int i = 0; i < 2; ++i) {
        const Rect r = (i == 0 ? up : down)->GetBounds();
        const Point pts[3] = {{r.x - 17, r.y + (i == 0 ? 3 * r.height / 4 : r.height / 4)},
                              {r.x - 17, r.y + r.height / 2},
                              {r.x - 1, r.y + r.height / 2}};
        gc.DrawLine(pts[0], pts[1], c);
        gc.DrawLine(pts[1], pts[2], c);
    }
}

int ElectricControllerPanel::DestinationValue(int row, int index) {
    switch (row) {
    case kBendUp:
        return Swap34(index);
    case kBendDown:
        return index == 0 ? -1 : Swap34(index - 1);
    case kTouch:
        return index == 0 ? 0 : index + 1;
    default:
        return index;
    }
}

int ElectricControllerPanel::ShownDestination(int row, int value) {
    return row == kBendUp || row == kBendDown ? Swap34(value) : value;
}

int ElectricControllerPanel::Get(int par) const { return m_rnc ? m_rnc->GetParameter(ERnCPars(par)) : 0; }

void ElectricControllerPanel::ShowDestination(int row, int shown) {
    m_shown[row] = shown;
    Combo& dest = *m_destination[row];
    switch (row) {
    case kBendDown:
        dest.Select(shown + 1);
        break;
    case kTouch:
        dest.Select(shown < 2 ? 0 : shown - 1);
        break;
    default:
        dest.Select(shown);
        break;
    }
    m_amount[row]->Clear();
    FillAmount(row, shown);
    SelectAmount(row);
}

void ElectricControllerPanel::FillAmount(int row, int shown) {
    Combo& amount = *m_amount[row];
    if (row == kTouch) {
        amount.SetVisible(shown != kSustainer);
        m_footage->SetVisible(shown == kSustainer);
        if (shown == kPitch)
            Fill(amount, kTouchRangeItems);
        return;
    }
    if (shown == kSlide) {
        for (int i = 1; i <= 12; ++i)
            amount.AddItem(std::to_string(i).c_str());
    } else if (IsRangeShown(row, shown)) {
        Fill(amount, kRangeItems);
    }
}

void ElectricControllerPanel::SelectAmount(int row) {
    Combo& amount = *m_amount[row];
    const int shown = m_shown[row];
    switch (row) {
    case kBendUp:
        if (shown == kSlide)
            amount.Select(Get(kUpSteps) - 1);
        else if (IsRangeShown(row, shown))
            amount.Select(Get(kUpRange) + kRangeOffset);
        break;
    case kBendDown:
        if (shown == kSlide) {
            const int steps = Get(kDownSteps);
            if (steps == 0)
                CopyBendSteps();
            else
                amount.Select(steps - 1);
        } else if (IsRangeShown(row, shown)) {
            const int range = Get(kDownRange);
            amount.Select(range == kNoRange ? -1 : range + kRangeOffset);
        }
        break;
    case kWheel:
        if (shown == kSlide)
            amount.Select(Get(kWheelSteps) - 1);
        else if (IsRangeShown(row, shown))
            amount.Select(Get(kWheelRange) + kRangeOffset);
        break;
    case kTouch:
        if (shown == kPitch)
            amount.Select(Get(kTouchRange));
        else if (shown == kSustainer)
            m_footage->Select(Get(kFootage));
        break;
    default:
        break;
    }
}

void ElectricControllerPanel::CopyBendSteps() {
    // Only where the row is, only a real step count, and once per notice
    // chain: an engine that keeps 79 at 0 must not be asked again and again.
    const int steps = Get(kUpSteps);
    if (!HasRow(kBendDown) || m_updating || m_copyTried || steps < 1 || Get(kDownSteps) == steps)
        return;
    m_updating = true;
    m_copyTried = true;
    Write(kDownSteps, steps);
    m_updating = false;
}

void ElectricControllerPanel::UpdateParameter(int id) {
    const int v = Get(id);
    switch (id) {
    case kUpDestination:
        ShowDestination(kBendUp, ShownDestination(kBendUp, v));
        break;
    case kUpSteps:
        m_copyTried = false; // a new count may be copied once more
        SelectAmount(kBendUp);
        break;
    case kUpRange:
        SelectAmount(kBendUp);
        break;
    case kDownDestination:
        if (HasRow(kBendDown)) {
            m_copyTried = false;
            ShowDestination(kBendDown, ShownDestination(kBendDown, v));
        }
        break;
    case kDownSteps:
    case kDownRange:
        if (HasRow(kBendDown))
            SelectAmount(kBendDown);
        break;
    case kWheelDestination:
        ShowDestination(kWheel, v);
        break;
    case kWheelSteps:
    case kWheelRange:
        SelectAmount(kWheel);
        break;
    case kTouchDestination:
        ShowDestination(kTouch, v);
        break;
    case kTouchRange:
        if (m_shown[kTouch] == kPitch)
            m_amount[kTouch]->Select(v);
        break;
    case kCurve:
        m_curves->SetSelected(v);
        break;
    case kPedal:
        if (m_pedal)
            m_pedal->Select(v);
        break;
    case kFootage:
        m_footage->Select(v);
        break;
    default:
        break;
    }
}

void ElectricControllerPanel::UpdateAll() {
    PaneGuard self(this);
    for (int id : kParameters) {
        UpdateParameter(id);
        if (!self.IsAlive())
            return;
    }
}

void ElectricControllerPanel::OnDestinationChosen(int row, int index) {
    static const int kPar[kRows] = {kUpDestination, kDownDestination, kWheelDestination, kTouchDestination};
    Write(kPar[row], DestinationValue(row, index));
}

void ElectricControllerPanel::OnAmountChosen(int row, int index) {
    const int shown = m_shown[row];
    switch (row) {
    case kBendUp:
        if (shown == kSlide)
            Write(kUpSteps, index + 1);
        else if (IsRangeShown(row, shown))
            Write(kUpRange, index - kRangeOffset);
        break;
    case kBendDown:
        if (shown == kSlide)
            Write(kDownSteps, index + 1);
        else if (IsRangeShown(row, shown))
            Write(kDownRange, index - kRangeOffset);
        break;
    case kWheel:
        if (shown == kSlide)
            Write(kWheelSteps, index + 1);
        else if (IsRangeShown(row, shown))
            Write(kWheelRange, index - kRangeOffset);
        break;
    case kTouch:
        if (shown == kPitch)
            Write(kTouchRange, index);
        break;
    default:
        break;
    }
}

void ElectricControllerPanel::Write(int par, int value) {
    if (!m_rnc)
        return;
    PaneGuard self(this);
    const ERnCPars p = ERnCPars(par);
    m_rnc->TouchParameter(p, true);
    m_rnc->SetParameter(p, value);
    m_rnc->TouchParameter(p, false);
    // What shows is what the engine kept, whether or when its notice comes.
    if (self.IsAlive())
        UpdateParameter(par);
}

void ElectricControllerPanel::RegisterTooltips(TooltipHandler& handler) {
    for (int row = 0; row < kRows; ++row) {
        if (!HasRow(row))
            continue;
        const std::string name = kRowNames[row];
        handler.AddTooltip(new ComboTooltip(m_destination[row].get(), (name + ": ").c_str()));
        handler.AddTooltip(new ComboTooltip(m_amount[row].get(), (name + " steps: ").c_str()));
    }
    handler.AddTooltip(new ComboTooltip(m_footage.get(), "A.T. semitones: "));
    if (m_pedal)
        handler.AddTooltip(new ComboTooltip(m_pedal.get(), "Pedal: "));
}

} // namespace Corvell
