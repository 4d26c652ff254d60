#include "binding/ParameterControllers.h"

#include "ui/ToggleButton.h"

#include <algorithm>

namespace Corvell {

namespace {
// What a pane holds instead of a controller: it reaches the controller
// only until the controller, dying, makes it forget.
template <class I, class Owner>
class BackRelay : public CountedObject<I> {
public:
    explicit BackRelay(Owner* owner) : m_owner(owner) {}
    void Forget() { m_owner = nullptr; }

protected:
    Owner* m_owner;
};
} // namespace

// ---- NotifyHandler_for_IRnC ---------------------------------------------------

NotifyHandler_for_IRnC::~NotifyHandler_for_IRnC() { ReleaseParameter(); }

void NotifyHandler_for_IRnC::GrabParameter() {
    if (!m_rnc || m_grabbed)
        return;
    m_grabbed = true;
    m_rnc->TouchParameter(m_par, true);
}

void NotifyHandler_for_IRnC::ReleaseParameter() {
    if (!m_rnc || !m_grabbed)
        return;
    m_grabbed = false;
    m_rnc->TouchParameter(m_par, false);
}

// ---- RangeControlListener_for_IRnC -------------------------------------------

RangeControlListener_for_IRnC::~RangeControlListener_for_IRnC() {
    if (m_open && m_rnc)
        m_rnc->TouchParameter(m_par, false);
}

void RangeControlListener_for_IRnC::Begin(RangeControl*) {
    if (!m_rnc || m_open)
        return;
    m_open = true;
    m_rnc->TouchParameter(m_par, true);
}

void RangeControlListener_for_IRnC::Changed(RangeControl* c) {
    if (m_rnc && c)
        m_rnc->SetParameter(m_par, c->GetValue());
}

void RangeControlListener_for_IRnC::End(RangeControl*) {
    if (!m_rnc || !m_open)
        return;
    m_open = false;
    m_rnc->TouchParameter(m_par, false);
}

// ---- RangeController_for_IRnC ---------------------------------------------------

class RangeController_for_IRnC::Relay : public BackRelay<RangeControlListener, RangeController_for_IRnC> {
public:
    using BackRelay::BackRelay;
    void Begin(RangeControl* c) override {
        if (m_owner)
            m_owner->Begin(c);
    }
    void Changed(RangeControl* c) override {
        if (m_owner)
            m_owner->Changed(c);
    }
    void End(RangeControl* c) override {
        if (m_owner)
            m_owner->End(c);
    }
};

RangeController_for_IRnC::RangeController_for_IRnC(IRnC* rnc, ERnCPars par, RangeControl* control, Pane* pane)
    : RangeControlListener_for_IRnC(rnc, par), IRnCParameterController(par), m_control(control), m_pane(pane),
      m_relay(new Relay(this)) {
    if (m_control && m_pane.IsAlive())
        m_control->AddListener(m_relay.Get());
}

RangeController_for_IRnC::~RangeController_for_IRnC() {
    m_relay->Forget();
    if (m_control && m_pane.IsAlive())
        m_control->RemoveListener(m_relay.Get());
}

void RangeController_for_IRnC::Update(ERnCPars par, int) {
    if (m_control && m_pane.IsAlive() && GetRnC())
        m_control->SetValue(GetRnC()->GetParameter(par));
}

// ---- ToggleController_for_IRnC --------------------------------------------------

class ToggleController_for_IRnC::ClickRelay : public BackRelay<ButtonListener, ToggleController_for_IRnC> {
public:
    using BackRelay::BackRelay;
    void Invoke(ButtonListenerArgs args) override {
        if (m_owner)
            m_owner->OnClick(args.button);
    }
};

class ToggleController_for_IRnC::PressRelay : public BackRelay<NotifyListener, ToggleController_for_IRnC> {
public:
    using BackRelay::BackRelay;
    void Pressed(Button*) override {
        if (m_owner)
            m_owner->GrabParameter();
    }
    void Released(Button*) override {
        if (m_owner)
            m_owner->ReleaseParameter();
    }
};

ToggleController_for_IRnC::ToggleController_for_IRnC(IRnC* rnc, ERnCPars par, ToggleButton* toggle)
    : NotifyHandler_for_IRnC(rnc, par), IRnCParameterController(par), m_toggle(toggle),
      m_click(new ClickRelay(this)), m_press(new PressRelay(this)) {
    if (!toggle)
        return;
    toggle->AddClickListener(m_click);
    toggle->SetPressObserver(m_press);
    toggle->SetOn(rnc && rnc->GetParameter(par) != 0);
}

ToggleController_for_IRnC::~ToggleController_for_IRnC() {
    m_click->Forget();
    m_press->Forget();
    if (auto* toggle = static_cast<ToggleButton*>(m_toggle.Get())) {
        toggle->RemoveClickListener(m_click.Get());
        toggle->RemovePressObserver(m_press.Get());
    }
}

void ToggleController_for_IRnC::Update(ERnCPars par, int) {
    auto* toggle = static_cast<ToggleButton*>(m_toggle.Get());
    if (toggle && GetRnC())
        toggle->SetOn(GetRnC()->GetParameter(par) != 0);
}

void ToggleController_for_IRnC::OnClick(Pane*) {
    auto* toggle = static_cast<ToggleButton*>(m_toggle.Get());
    if (toggle && GetRnC())
        GetRnC()->SetParameter(GetPar(), toggle->IsOn() ? 0 : 1);
}

// ---- ParameterControllerList ----------------------------------------------------

void ParameterControllerList::Add(Ref<IRnCParameterController> c) {
    if (c)
        m_items.push_back(std::move(c));
}

bool ParameterControllerList::Remove(IRnCParameterController* c) {
    auto it = std::find_if(m_items.begin(), m_items.end(),
                           [c](const Ref<IRnCParameterController>& r) { return r.Get() == c; });
    if (it == m_items.end())
        return false;
    Ref<IRnCParameterController> victim = std::move(*it); // dies after the list is consistent
    m_items.erase(it);
    return true;
}

void ParameterControllerList::Update(IRnC* rnc, ERnCPars par) {
    if (!rnc)
        return;
    const std::vector<Ref<IRnCParameterController>> snapshot = m_items;
    for (const auto& c : snapshot) {
        // Skip one that an earlier update removed.
        if (c->par != par || std::find(m_items.begin(), m_items.end(), c) == m_items.end())
            continue;
        c->Update(par, rnc->GetParameter(par));
    }
}

} // namespace Corvell
