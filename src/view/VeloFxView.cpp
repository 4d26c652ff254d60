#include "view/VeloFxView.h"

#include "shared/Graphics/GraphicsContext.h"
#include "ui/core/FunctionDelegate.h"

#include <algorithm>

namespace Corvell {

// ---- NotifyingFxControl -------------------------------------------------------

struct NotifyingFxControl::Relay : CountedObject<RangeControlListener> {
    NotifyingFxControl* owner = nullptr;
    void Begin(RangeControl*) override {}
    void Changed(RangeControl*) override {
        if (owner)
            owner->Speak();
    }
    void End(RangeControl*) override {}
};

NotifyingFxControl::NotifyingFxControl(Pane* pane, Combo* titleSource, RangeControl* control, String title,
                                       String subtitle, String suffix, int divisor)
    : TooltipNotifier(pane, title), m_source(titleSource), m_titleSource(titleSource), m_control(control),
      m_title(title), m_subtitle(subtitle), m_suffix(suffix), m_divisor(divisor), m_relay(new Relay) {
    m_relay->owner = this;
    if (m_control)
        m_control->AddListener(m_relay.Get());
}

NotifyingFxControl::~NotifyingFxControl() {
    m_relay->owner = nullptr;
    if (m_control && GetPane())
        m_control->RemoveListener(m_relay.Get());
}

String NotifyingFxControl::GetText() {
    std::string text;
    if (m_titleSource && m_source.IsAlive())
        text = m_titleSource->GetItemText(m_titleSource->GetSelectedIndex()).c_str();
    else
        text = m_title.c_str();
    text += ": ";
    text += m_subtitle.c_str();
    const int v = m_control && GetPane() ? m_control->GetValue() : 0;
    text += Effects::ScaledValueText(v, m_divisor, m_suffix.c_str());
    return String(text.c_str());
}

// ---- BasicVeloFxView ----------------------------------------------------------

struct BasicVeloFxView::Relay : CountedObject<RangeControlListener> {
    BasicVeloFxView* owner = nullptr;
    void Begin(RangeControl* c) override {
        if (owner)
            owner->OnBegin(c);
    }
    void Changed(RangeControl* c) override {
        if (owner)
            owner->OnChanged(c);
    }
    void End(RangeControl* c) override {
        if (owner)
            owner->OnEnd(c);
    }
};

BasicVeloFxView::BasicVeloFxView(IRnC* rnc) : m_rnc(rnc), m_relay(new Relay) {
    Relay* relay = m_relay.Get();
    relay->owner = this;
    AddChild(&m_kindCombo);
    AddChild(&m_velo);
    AddChild(&m_time);
    AddChild(&m_steps);
    m_kindCombo.SetTriangleImage(GetImage("combo-triangle.png"));
    m_kindCombo.AddSelectionListener(Fn<int>([relay](int i) {
        if (relay->owner)
            relay->owner->OnKindChosen(i);
    }));
    m_velo.AddListener(relay);
    m_time.AddListener(relay);
    m_steps.AddListener(relay);
    ShowOff();
}

BasicVeloFxView::~BasicVeloFxView() {
    // An edit still open is closed: the host must not stay "touched".
    if (m_editParameter && m_rnc)
        m_rnc->TouchParameter(ERnCPars(m_editParameter), false);
    m_relay->owner = nullptr;
    if (m_parameterListener)
        m_rnc->RemoveParameterListener(m_parameterListener.Get());
    m_velo.RemoveListener(m_relay.Get());
    m_time.RemoveListener(m_relay.Get());
    m_steps.RemoveListener(m_relay.Get());
    if (!IsClosed())
        OnDestroy();
}

void BasicVeloFxView::Create(Pane* parent, const Rect& bounds) {
    Pane::Create(parent, bounds);
    const int32_t w = bounds.width;
    m_labels.clear();
    auto label = [this](const char* text, uint32_t format, const Rect& r) {
        std::unique_ptr<ALabel> l(CreateLabel(text, format));
        l->Create(this, r);
        m_labels.push_back(std::move(l));
    };
    label("Velocity FX", 0, Rect{10, 7, w - 20, 23});
    m_kindCombo.SetBounds(Rect{10, 30, w - 20, 23});
    m_velo.SetBounds(Rect{10, 58, 50, 23});
    m_time.SetBounds(Rect{62, 58, w - 124, 23});
    m_steps.SetBounds(Rect{w - 60, 58, 50, 23});
    label("velo", kTextCenter, Rect{10, 81, 50, 23});
    label("time", kTextCenter, Rect{62, 81, w - 124, 23});
    label("steps", kTextCenter, Rect{w - 60, 81, 50, 23});
}

int BasicVeloFxView::Get(int par) const { return m_rnc && par ? m_rnc->GetParameter(ERnCPars(par)) : 0; }

void BasicVeloFxView::Write(int par, int value) {
    if (!m_rnc || !par)
        return;
    m_rnc->TouchParameter(ERnCPars(par), true);
    m_rnc->SetParameter(ERnCPars(par), value);
    m_rnc->TouchParameter(ERnCPars(par), false);
}

void BasicVeloFxView::SetKinds(const std::vector<int>& kinds) {
    m_list.clear();
    m_kindCombo.Clear();
    m_kindCombo.AddItem("Off");
    for (int k : kinds)
        if (k >= 0 && k < Effects::kVeloKinds && std::find(m_list.begin(), m_list.end(), k) == m_list.end()) {
            m_list.push_back(k);
            m_kindCombo.AddItem(Effects::kVeloTable[k].name);
        }
    int survivor = -1;
    if (m_rnc) {
        const std::vector<int> active = Effects::ActiveVeloKinds([this](int p) { return Get(p); });
        survivor = Effects::SurvivingVeloKind(m_list, active);
        for (int k : active) {
            const int p = Effects::kVeloTable[k].enableParameter;
            // Two kinds share an enable parameter: the survivor's stays.
            if (k != survivor && (survivor < 0 || p != Effects::kVeloTable[survivor].enableParameter))
                m_rnc->SetParameter(ERnCPars(p), 0);
        }
    }
    if (survivor >= 0)
        SelectKind(survivor);
    else
        ShowOff();
}

void BasicVeloFxView::SelectKind(int kind) {
    if (kind < 0 || kind >= Effects::kVeloKinds) {
        ShowOff();
        return;
    }
    const Effects::VeloKind& k = Effects::kVeloTable[kind];
    m_current = kind;
    m_velo.SetRange(k.velocityMin, k.velocityMax);
    m_time.SetRange(k.timeMin, k.timeMax);
    if (m_rnc && k.time)
        m_time.SetDefault(m_rnc->GetParameterDefault(ERnCPars(k.time)));
    m_steps.SetRange(k.stepsMin, k.stepsMax);
    const auto at = std::find(m_list.begin(), m_list.end(), kind);
    // A kind the page does not offer is shown all the same, the combo at "Off".
    m_kindCombo.Select(at == m_list.end() ? 0 : int32_t(at - m_list.begin()) + 1);
    RefreshValues();
}

void BasicVeloFxView::ShowOff() {
    m_current = -1;
    m_velo.SetRange(0, 0);
    m_time.SetRange(0, 0);
    m_steps.SetRange(0, 0);
    m_kindCombo.Select(0);
    RefreshValues();
}

void BasicVeloFxView::RefreshValues() {
    const Effects::VeloKind* k = m_current >= 0 ? &Effects::kVeloTable[m_current] : nullptr;
    m_velo.SetValue(k ? Get(k->velocity) : 0);
    m_time.SetValue(k ? Get(k->time) : 0);
    m_steps.SetValue(k ? Get(k->steps) : 0);
}

void BasicVeloFxView::Listen() {
    if (!m_rnc || m_parameterListener)
        return;
    Relay* relay = m_relay.Get();
    m_parameterListener = Fn<ERnCPars>([relay](ERnCPars p) {
        if (relay->owner)
            relay->owner->OnParameterChanged(p);
    });
    m_rnc->AddParameterListener(m_parameterListener.Get());
}

void BasicVeloFxView::OnParameterChanged(int id) {
    const Effects::VeloKind* k = m_current >= 0 ? &Effects::kVeloTable[m_current] : nullptr;
    switch (id) {
    case 17:
    case 24:
    case 39:
    case 42:
    case 60: {
        if (!m_rnc)
            return;
        const int v = Get(id);
        if (v == 0) {
            if (k && k->enableParameter == id)
                ShowOff();
            return;
        }
        SelectKind(Effects::VeloKindOf(id, v));
        return;
    }
    default:
        break;
    }
    if (!k)
        return;
    if (id == k->velocity)
        m_velo.SetValue(Get(id));
    else if (id == k->time)
        m_time.SetValue(Get(id));
    else if (id == k->steps)
        m_steps.SetValue(Get(id));
}

void BasicVeloFxView::OnKindChosen(int item) {
    if (!m_rnc)
        return;
    const int r = item > 0 && size_t(item) <= m_list.size() ? m_list[size_t(item - 1)] : -1;
    const Effects::VeloKind* current = m_current >= 0 ? &Effects::kVeloTable[m_current] : nullptr;
    if (current && (r < 0 || Effects::kVeloTable[r].enableParameter != current->enableParameter))
        Write(current->enableParameter, 0);
    if (r >= 0)
        Write(Effects::kVeloTable[r].enableParameter, Effects::kVeloTable[r].enableValue);
    // What shows is what the engine now holds.
    if (r >= 0 && Get(Effects::kVeloTable[r].enableParameter) == Effects::kVeloTable[r].enableValue)
        SelectKind(r);
    else if (r < 0)
        ShowOff();
    else
        SelectKind(m_current);
}

int BasicVeloFxView::ParameterOf(RangeControl* c) const {
    if (m_current < 0)
        return 0;
    const Effects::VeloKind& k = Effects::kVeloTable[m_current];
    if (c == static_cast<RangeControl*>(const_cast<NumberEditor*>(&m_velo)))
        return k.velocity;
    if (c == static_cast<RangeControl*>(const_cast<HSlider3*>(&m_time)))
        return k.time;
    if (c == static_cast<RangeControl*>(const_cast<NumberEditor*>(&m_steps)))
        return k.steps;
    return 0;
}

void BasicVeloFxView::OnBegin(RangeControl* c) {
    if (!m_rnc || m_editParameter)
        return;
    m_editParameter = ParameterOf(c);
    m_editControl = c;
    if (m_editParameter)
        m_rnc->TouchParameter(ERnCPars(m_editParameter), true);
}

void BasicVeloFxView::OnChanged(RangeControl* c) {
    if (!m_rnc)
        return;
    // Within an edit, the parameter taken at its Begin.
    const int p = m_editParameter && c == m_editControl ? m_editParameter : ParameterOf(c);
    if (p)
        m_rnc->SetParameter(ERnCPars(p), c->GetValue());
}

void BasicVeloFxView::OnEnd(RangeControl* c) {
    if (!m_rnc || !m_editParameter || c != m_editControl)
        return;
    m_rnc->TouchParameter(ERnCPars(m_editParameter), false);
    m_editParameter = 0;
    m_editControl = nullptr;
}

void BasicVeloFxView::RegisterTooltips(TooltipHandler& handler) {
    handler.AddTooltip(new ComboTooltip(&m_kindCombo, "Velo FX: "));
    handler.AddTooltip(new NotifyingFxControl(&m_time, &m_kindCombo, &m_time, "Velo FX", "time", "ms", 1));
    handler.AddTooltip(new NotifyingFxControl(&m_velo, &m_kindCombo, &m_velo, "Velo FX", "velo", "", 1));
    handler.AddTooltip(new NotifyingFxControl(&m_steps, &m_kindCombo, &m_steps, "Velo FX", "steps", "", 1));
}

} // namespace Corvell
