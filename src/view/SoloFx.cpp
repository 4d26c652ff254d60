#include "view/SoloFx.h"

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"
#include "ui/core/FunctionDelegate.h"

#include <algorithm>

namespace Corvell {

namespace {
constexpr int kFirstCombo = Effects::kLengthValue;
constexpr uint32_t kOneRowSelectorFormat = 36; // single line, vertically centred, left

// The pane's own tooltip: the effect and its values, said again after
// every change the user makes.
class FxTooltip : public TooltipNotifier {
public:
    explicit FxTooltip(SoloFx* pane) : TooltipNotifier(pane, "SoloFx"), m_pane(pane) {
        m_listener = Fn([this] { Speak(); });
        pane->AddChangedListener(m_listener);
    }
    ~FxTooltip() override {
        if (m_pane.IsAlive())
            static_cast<SoloFx*>(m_pane.Get())->RemoveChangedListener(m_listener.Get());
    }
    String GetText() override {
        return m_pane.IsAlive() ? String(static_cast<SoloFx*>(m_pane.Get())->TooltipText().c_str()) : String();
    }

private:
    PaneGuard m_pane;
    Ref<Delegate> m_listener;
};
} // namespace

// What the pane hands out reaches it only while it lives.
struct SoloFx::Relay : CountedObject<RefCounted> {
    SoloFx* owner = nullptr;
    Ref<Delegate1<IRnC::FxListenerArgs>> fx;
    Ref<RangeControlListener> range;
};

namespace {
struct RangeRelay : CountedObject<RangeControlListener> {
    std::function<void(RangeControl*)> changed;
    void Begin(RangeControl*) override {}
    void Changed(RangeControl* c) override { changed(c); }
    void End(RangeControl*) override {}
};
} // namespace

SoloFx::SoloFx(IRnC* rnc) : m_rnc(rnc), m_relay(new Relay) {
    Relay* relay = m_relay.Get();
    relay->owner = this;
    AddChild(&m_onMark);
    AddChild(&m_selector);
    AddChild(&m_slider);
    AddChild(&m_editor);
    const Ref<Bitmap> arrow = GetImage("combo-triangle.png");
    m_selector.SetTriangleImage(arrow);
    // Every listener is connected once, here: showing an effect again and
    // again adds none, so one choice is one write.
    m_selector.AddSelectionListener(Fn<int>([relay](int i) {
        if (relay->owner)
            relay->owner->OnSelector(i);
    }));
    m_onMark.AddClickListener(Fn<ButtonListenerArgs>([relay](ButtonListenerArgs a) {
        if (relay->owner && a.mouseButton == kButtonLeft)
            relay->owner->OnMarkClick();
    }));
    auto* range = new RangeRelay;
    range->changed = [relay](RangeControl* c) {
        if (relay->owner)
            relay->owner->OnRange(c);
    };
    relay->range = range;
    m_slider.AddListener(range);
    m_editor.AddListener(range);
    m_slider.SetVisible(false);
    m_editor.SetVisible(false);
    for (int k = kFirstCombo; k < Effects::kValueKinds; ++k) {
        Combo& c = m_combos[k - kFirstCombo];
        c.SetTriangleImage(arrow);
        c.SetVisible(false);
        AddChild(&c);
        c.AddSelectionListener(Fn<int>([relay, k](int i) {
            if (relay->owner)
                relay->owner->OnValueCombo(k, i);
        }));
    }
    if (m_rnc) {
        relay->fx = Fn<IRnC::FxListenerArgs>([relay](IRnC::FxListenerArgs a) {
            if (relay->owner)
                relay->owner->OnFxNotice(a);
        });
        m_rnc->AddFxListener(relay->fx.Get());
    }
}

SoloFx::~SoloFx() {
    // A notice still on its way finds nobody.
    m_relay->owner = nullptr;
    if (m_rnc && m_relay->fx)
        m_rnc->RemoveFxListener(m_relay->fx.Get());
    m_slider.RemoveListener(m_relay->range.Get());
    m_editor.RemoveListener(m_relay->range.Get());
    if (!IsClosed())
        OnDestroy();
}

Combo* SoloFx::ValueCombo(int kind) {
    return kind >= kFirstCombo && kind < Effects::kValueKinds ? &m_combos[kind - kFirstCombo] : nullptr;
}

void SoloFx::SetEffectList(int count, const int* types) {
    m_list.assign(types, types + std::max(0, count));
    m_selector.Clear();
    for (int t : m_list)
        m_selector.AddItem(Effects::Lookup(t).name);
    if (GetParent())
        Layout();
    Reload();
}

void SoloFx::Create(Pane* parent, const Rect& bounds) {
    Pane::Create(parent, bounds);
    Layout();
    if (!m_list.empty()) {
        const int type = GetFxType();
        ShowEffect(type);
        UpdateValues(type);
    }
}

void SoloFx::Layout() {
    const Rect b = GetBounds();
    const bool valued = std::any_of(m_list.begin(), m_list.end(), [](int t) { return Effects::HasValues(t); });
    const Effects::PaneLayout l = Effects::Layout(b.width, b.height, valued);
    auto r = [](const Effects::Rect4& q) { return Rect{q.x, q.y, q.width, q.height}; };
    m_onMark.SetBounds(r(l.onMark));
    m_selector.SetBounds(r(l.selector));
    m_slider.SetBounds(r(l.slider));
    m_editor.SetBounds(r(l.numberEditor));
    for (int k = kFirstCombo; k < Effects::kValueKinds; ++k) {
        const bool narrow = k == Effects::kFeedbackValue || k == Effects::kStringValue;
        const bool sliderWide = k == Effects::kLengthValue;
        m_combos[k - kFirstCombo].SetBounds(r(sliderWide ? l.slider : narrow ? l.narrowCombo : l.wideCombo));
    }
    if (l.oneRow)
        m_selector.SetTextFormat(kOneRowSelectorFormat);
    m_selector.InvalidateAll();
}

void SoloFx::Reload() {
    const int type = GetFxType();
    PaneGuard self(this);
    ShowEffect(type);
    if (self.IsAlive())
        UpdateValues(GetFxType());
}

void SoloFx::ShowEffect(int type) {
    m_slider.SetVisible(false);
    m_editor.SetVisible(false);
    for (Combo& c : m_combos) {
        c.SetVisible(false);
        c.Clear();
    }
    if (m_list.empty())
        return;
    const auto at = std::find(m_list.begin(), m_list.end(), type);
    m_selector.Select(at == m_list.end() ? -1 : int32_t(at - m_list.begin()));
    if (at == m_list.end()) {
        // Ask for the list's first type, once: a slot that refuses it, or
        // answers with a notice at once, must not bring us back here for ever.
        if (m_correcting || type == m_correctedFrom)
            return;
        m_correcting = true;
        m_correctedFrom = type;
        PaneGuard self(this);
        SetFxType(m_list.front());
        if (self.IsAlive())
            m_correcting = false;
        return;
    }
    m_correctedFrom = Effects::kUnknownType;
    m_onMark.SetOn(IsFxOn());
    if (type < 0)
        return;
    const Effects::EffectRecord& rec = Effects::Lookup(type);
    for (int i = 0; i < rec.valueCount && i < 2; ++i) {
        const Effects::ValueDescriptor& v = rec.values[i];
        switch (v.kind) {
        case Effects::kSliderValue:
            m_slider.SetRange(v.minimum, v.maximum);
            // A default outside the range would put the mark off the track.
            m_slider.SetDefault(std::clamp(v.defaultValue, v.minimum, v.maximum));
            m_slider.SetVisible(true);
            m_sliderValue = i;
            break;
        case Effects::kStepsValue:
            m_editor.SetRange(v.minimum, v.maximum);
            m_editor.SetVisible(true);
            m_editorValue = i;
            break;
        default:
            if (Combo* c = ValueCombo(v.kind)) {
                if (v.kind >= Effects::kWahValue && i > 0)
                    break; // those kinds are first values only
                c->AddItems(Effects::Items(v.kind));
                c->SetVisible(true);
                if (v.kind == Effects::kLengthValue)
                    m_lengthValue = i;
                else if (v.kind == Effects::kIntervalValue)
                    m_intervalValue = i;
                else if (v.kind == Effects::kFretValue)
                    m_fretValue = i;
            }
            break;
        }
    }
}

void SoloFx::UpdateValues(int type) {
    m_onMark.SetOn(IsFxOn());
    m_selector.SetTriangle(m_list.size() > 1);
    m_selector.InvalidateAll();
    if (type < 0)
        return;
    const Effects::EffectRecord& rec = Effects::Lookup(type);
    for (int i = 0; i < rec.valueCount && i < 2; ++i) {
        const int kind = rec.values[i].kind;
        const int v = GetFxValue(i);
        if (kind == Effects::kSliderValue)
            m_slider.SetValue(v);
        else if (kind == Effects::kStepsValue)
            m_editor.SetValue(v);
        else if (Combo* c = ValueCombo(kind))
            c->Select(Effects::ItemOfValue(kind, v));
    }
}

// ---- what the user does ----

void SoloFx::Changed() {
    if (m_changed->IsEmpty())
        return;
    Ref<MulticastDelegate> list = m_changed;
    list->Invoke();
}

void SoloFx::OnSelector(int index) {
    if (index < 0 || size_t(index) >= m_list.size())
        return;
    PaneGuard self(this);
    SetFxType(m_list[size_t(index)]);
    if (!self.IsAlive())
        return;
    // The selector shows the type the engine took.
    Reload();
    if (self.IsAlive())
        Changed();
}

void SoloFx::OnMarkClick() {
    PaneGuard self(this);
    SetFxOn(!m_onMark.IsOn());
    if (!self.IsAlive())
        return;
    m_onMark.SetOn(IsFxOn());
    Changed();
}

void SoloFx::OnRange(RangeControl* c) {
    PaneGuard self(this);
    if (c == static_cast<RangeControl*>(&m_slider))
        SetFxValue(m_sliderValue, m_slider.GetValue());
    else
        SetFxValue(m_editorValue, m_editor.GetValue());
    if (self.IsAlive())
        Changed();
}

void SoloFx::OnValueCombo(int kind, int index) {
    PaneGuard self(this);
    int which = 0;
    if (kind == Effects::kLengthValue)
        which = m_lengthValue;
    else if (kind == Effects::kIntervalValue)
        which = m_intervalValue;
    else if (kind == Effects::kFretValue)
        which = m_fretValue;
    SetFxValue(which, Effects::ValueOfItem(kind, index));
    if (!self.IsAlive())
        return;
    UpdateValues(GetFxType());
    if (self.IsAlive())
        Changed();
}

std::string SoloFx::TooltipText() {
    const int type = GetFxType();
    const Effects::EffectRecord& rec = Effects::Lookup(type);
    int values[2] = {0, 0};
    std::string shown[2];
    for (int i = 0; i < rec.valueCount && i < 2; ++i) {
        const int kind = rec.values[i].kind;
        if (kind == Effects::kSliderValue) {
            values[i] = m_slider.GetValue();
        } else if (kind == Effects::kStepsValue) {
            values[i] = m_editor.GetValue();
        } else if (Combo* c = ValueCombo(kind)) {
            values[i] = Effects::ValueOfItem(kind, c->GetSelectedIndex());
            shown[i] = c->GetItemText(c->GetSelectedIndex()).c_str();
        }
    }
    return Effects::TooltipText(type, values, shown);
}

void SoloFx::RegisterTooltips(TooltipHandler& handler) { handler.AddTooltip(new FxTooltip(this)); }

// ---- painting ----

std::vector<Pane*> SoloFx::OutlinedControls() {
    std::vector<Pane*> out{&m_onMark, &m_editor};
    for (Combo& c : m_combos)
        out.push_back(&c);
    return out;
}

void SoloFx::Paint(GraphicsContext& gc) {
    const Rect r = LocalBounds();
    const Color c = !IsEffectivelyEnabled() ? GetColor(12) : IsSlotKnown() ? GetColor(13) : GetColor(11);
    gc.FillRect(r, c);
    auto dark = [](uint32_t v) { return uint8_t(std::min<uint32_t>(255, v * 3 / 4)); };
    const Color outline = MakeColor(dark(RedOf(c)), dark(GreenOf(c)), dark(BlueOf(c)));
    for (Pane* p : OutlinedControls())
        if (p->IsVisible())
            gc.DrawRect(p->GetBounds(), outline);
    gc.DrawRect(r, GetColor(2));
}

void SoloFx::PaintAll(GraphicsContext& gc) {
    const Color saved = gc.GetTextColor();
    gc.SetTextColor(IsEffectivelyEnabled() ? GetColor(5) : GetColor(6));
    Pane::PaintAll(gc);
    gc.SetTextColor(saved);
}

// ---- FxControl ----------------------------------------------------------------

FxControl::FxControl(IRnC* rnc, int slot) : SoloFx(rnc), m_slot(slot) {}

FxControl::~FxControl() {
    for (int w = 0; w < 3; ++w)
        SetSwitch(w, nullptr);
}

void FxControl::SetSwitch(int which, CheckMark* mark) {
    if (which < 0 || which > 2 || mark == m_switches[which])
        return;
    if (m_switches[which] && m_switchClicks[which] && m_switchGuards[which]->IsAlive())
        m_switches[which]->RemoveClickListener(m_switchClicks[which].Get());
    m_switches[which] = mark;
    m_switchClicks[which] = nullptr;
    m_switchGuards[which].reset(mark ? new PaneGuard(mark) : nullptr);
    if (!mark)
        return;
    m_switchClicks[which] = Fn<ButtonListenerArgs>([this, which](ButtonListenerArgs a) {
        CheckMark* m = m_switches[which];
        if (!m || !m_switchGuards[which]->IsAlive() || a.mouseButton != kButtonLeft || !Rnc())
            return;
        Rnc()->SetFxSwitch(m_slot, which, !m->IsOn());
        m->SetOn(Rnc()->GetFxInfo(m_slot, which, nullptr) != 0);
    });
    mark->AddClickListener(m_switchClicks[which]);
}

int FxControl::GetFxType() { return Rnc() ? Rnc()->GetFxType(m_slot) : Effects::kUnknownType; }
void FxControl::SetFxType(int type) {
    if (Rnc())
        Rnc()->SetFxType(m_slot, type);
}
bool FxControl::IsFxOn() { return Rnc() && Rnc()->IsFxOn(m_slot); }
bool FxControl::IsSlotKnown() { return Rnc() && Rnc()->GetFxInfo(m_slot, 3, nullptr) >= 0; }
void FxControl::SetFxOn(bool on) {
    if (Rnc())
        Rnc()->SetFxOn(m_slot, on);
}
int FxControl::GetFxValue(int index) { return Rnc() ? Rnc()->GetFxValue(m_slot, index) : 0; }
void FxControl::SetFxValue(int index, int value) {
    if (Rnc())
        Rnc()->SetFxValue(m_slot, index, value);
}

void FxControl::UpdateValues(int type) {
    SoloFx::UpdateValues(type);
    for (int w = 0; w < 3; ++w)
        if (m_switches[w] && m_switchGuards[w]->IsAlive())
            m_switches[w]->SetOn(Rnc() && Rnc()->GetFxInfo(m_slot, w, nullptr) != 0);
}

void FxControl::OnFxNotice(IRnC::FxListenerArgs args) {
    if (args.index != IRnC::kFxAll && !(args.bySlot && args.index == m_slot))
        return;
    InvalidateAll();
    if (args.reload)
        Reload();
    else
        UpdateValues(GetFxType());
}

// ---- FxManual ----------------------------------------------------------------

FxManual::FxManual(IRnC* rnc) : SoloFx(rnc) {}

bool FxManual::IsFxOn() { return Rnc() && Rnc()->IsTypedFxOn(m_current); }
void FxManual::SetFxOn(bool on) {
    if (Rnc())
        Rnc()->SetTypedFxOn(m_current, on);
}
int FxManual::GetFxValue(int index) { return Rnc() ? Rnc()->GetTypedFxValue(m_current, index) : 0; }
void FxManual::SetFxValue(int index, int value) {
    if (Rnc())
        Rnc()->SetTypedFxValue(m_current, index, value);
}

void FxManual::SetFxType(int type) {
    // The on state moves to the new type.
    if (Rnc() && type != m_current) {
        const bool on = IsFxOn();
        const int old = m_current;
        Rnc()->SetTypedFxOn(type, on);
        m_current = type;
        if (on)
            Rnc()->SetTypedFxOn(old, false);
    }
    m_current = type;
    PaneGuard self(this);
    ShowEffect(m_current);
    if (self.IsAlive())
        UpdateValues(m_current);
}

void FxManual::Refresh() {
    const std::vector<int>& list = EffectList();
    if (list.empty())
        return;
    int found = Effects::kUnknownType;
    if (Rnc())
        for (int t : list)
            if (Rnc()->IsTypedFxOn(t)) {
                found = t;
                break;
            }
    if (found != Effects::kUnknownType) {
        m_current = found;
        // Only the listed types: one the list does not offer belongs to
        // another section and keeps its state.
        for (int t : list)
            if (t != found && Rnc()->IsTypedFxOn(t))
                Rnc()->SetTypedFxOn(t, false);
    } else {
        m_current = list.front();
    }
    PaneGuard self(this);
    ShowEffect(m_current);
    if (self.IsAlive())
        UpdateValues(m_current);
}

void FxManual::Reload() { Refresh(); }

void FxManual::OnFxNotice(IRnC::FxListenerArgs args) {
    if (args.index == IRnC::kFxAll || (!args.bySlot && args.index == m_current))
        UpdateValues(m_current);
}

} // namespace Corvell
