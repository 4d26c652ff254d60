#include "view/WahWahController.h"

#include "ui/core/FunctionDelegate.h"

namespace Corvell {

namespace {
const char* const kModeNames = "MIDI CC\0AUTO POS\0AUTO NEG\0MODULATION\0";
} // namespace

// Everything the controller hands out reaches it only while it lives.
struct WahWahController::Relay : CountedObject<RefCounted> {
    WahWahController* owner = nullptr;
    Ref<Delegate1<ButtonListenerArgs>> click;
    Ref<Delegate1<int>> choice;
    Ref<RangeControlListener> edit;
    Ref<Delegate1<IRnC::FxListenerArgs>> fx;
    Ref<Delegate1<ERnCPars>> parameter;
    Ref<Delegate> reset;
};

namespace {
// Each step of the controller editor is one edit of parameter 90.
struct ControllerEdit : CountedObject<RangeControlListener> {
    IRnC* rnc = nullptr;
    std::function<void()> shown;
    void Begin(RangeControl*) override {
        if (rnc)
            rnc->TouchParameter(ERnCPars(WahWahController::kControllerParameter), true);
    }
    void Changed(RangeControl* c) override {
        if (rnc)
            rnc->SetParameter(ERnCPars(WahWahController::kControllerParameter), c->GetValue());
    }
    void End(RangeControl*) override {
        if (rnc)
            rnc->TouchParameter(ERnCPars(WahWahController::kControllerParameter), false);
        if (shown)
            shown();
    }
};
} // namespace

WahWahController::WahWahController(IRnC* rnc, Pane* section)
    : m_rnc(rnc), m_section(section), m_switch(section ? dynamic_cast<ToggleButton*>(section->FindById(kSwitch)) : nullptr),
      m_mode(section ? dynamic_cast<Combo*>(section->FindById(kMode)) : nullptr),
      // A pane of the wrong kind is skipped like a missing one.
      m_controller(section ? dynamic_cast<NumEditor*>(section->FindById(kController)) : nullptr),
      m_controllerPane(m_controller), m_relay(new Relay) {
    m_relay->owner = this;
    Relay* relay = m_relay.Get();

    if (ToggleButton* t = Switch()) {
        relay->click = Fn<ButtonListenerArgs>([relay](ButtonListenerArgs a) {
            if (relay->owner && a.mouseButton == kButtonLeft)
                relay->owner->OnSwitchClick();
        });
        t->AddClickListener(relay->click);
    }
    if (Combo* c = Mode()) {
        c->Clear();
        c->AddItems(kModeNames);
        relay->choice = Fn<int>([relay](int i) {
            if (relay->owner)
                relay->owner->OnModeChosen(i);
        });
        c->AddSelectionListener(relay->choice);
    }
    if (m_controller) {
        m_controller->SetRange(0, 127);
        auto* edit = new ControllerEdit;
        edit->rnc = m_rnc;
        edit->shown = [relay] {
            if (relay->owner)
                relay->owner->ShowController();
        };
        relay->edit = edit;
        m_controller->AddListener(edit);
    }
    if (m_rnc) {
        relay->fx = Fn<IRnC::FxListenerArgs>([relay](IRnC::FxListenerArgs a) {
            if (relay->owner)
                relay->owner->OnFx(a);
        });
        relay->parameter = Fn<ERnCPars>([relay](ERnCPars p) {
            if (relay->owner)
                relay->owner->OnParameter(p);
        });
        relay->reset = Fn([relay] {
            if (relay->owner)
                relay->owner->Show();
        });
        m_rnc->AddFxListener(relay->fx.Get());
        m_rnc->AddParameterListener(relay->parameter.Get());
        m_rnc->AddResetListener(relay->reset.Get());
    }
    if (Switch())
        Show();
    else
        ShowController();
}

WahWahController::~WahWahController() {
    Relay* relay = m_relay.Get();
    relay->owner = nullptr;
    if (m_rnc) {
        m_rnc->RemoveFxListener(relay->fx.Get());
        m_rnc->RemoveParameterListener(relay->parameter.Get());
        m_rnc->RemoveResetListener(relay->reset.Get());
    }
    if (ToggleButton* t = Switch())
        t->RemoveClickListener(relay->click.Get());
    if (Combo* c = Mode())
        c->RemoveSelectionListener(relay->choice.Get());
    if (NumEditor* e = Controller())
        e->RemoveListener(relay->edit.Get());
}

Pane* WahWahController::ModeGroup(int mode) const {
    Pane* section = m_section.Get();
    return section && mode >= 0 && mode < kModes ? section->FindById(kFirstModeGroup + mode) : nullptr;
}

void WahWahController::Show() {
    const int mode = m_rnc ? m_rnc->GetTypedFxValue(kWahType, 0) : -1;
    const bool known = mode >= 0 && mode < kModes;
    if (ToggleButton* t = Switch())
        t->SetOn(m_rnc ? m_rnc->IsTypedFxOn(kWahType) : t->IsOn());
    if (Combo* c = Mode())
        c->Select(known ? mode : -1);
    // One group at a time; a mode from outside the list shows none.
    for (int m = 0; m < kModes; ++m)
        if (Pane* g = ModeGroup(m))
            g->SetVisible(m == mode);
    ShowController();
}

void WahWahController::ShowController() {
    if (NumEditor* e = Controller())
        e->SetValue(m_rnc ? m_rnc->GetParameter(ERnCPars(kControllerParameter)) : e->GetValue());
}

void WahWahController::OnSwitchClick() {
    ToggleButton* t = Switch();
    if (!t)
        return;
    if (!m_rnc) {
        t->SetOn(!t->IsOn());
        return;
    }
    m_rnc->SetTypedFxOn(kWahType, !t->IsOn());
    Show();
}

void WahWahController::OnModeChosen(int index) {
    if (m_rnc)
        m_rnc->SetTypedFxValue(kWahType, 0, index);
    Show();
}

void WahWahController::OnFx(IRnC::FxListenerArgs args) {
    if ((args.index == kWahType && !args.bySlot) || args.index == IRnC::kFxAll)
        Show();
}

void WahWahController::OnParameter(ERnCPars par) {
    if (par == kControllerParameter)
        ShowController();
}

void WahWahController::RegisterTooltips(TooltipHandler& handler) {
    if (ToggleButton* t = Switch())
        handler.AddTooltip(new ToggleTooltip(t, "Wah-Wah"));
    if (Combo* c = Mode())
        handler.AddTooltip(new ComboTooltip(c, "Wah-Wah Mode"));
    if (NumEditor* e = Controller())
        handler.AddTooltip(new NotifyingRangeControl(e, "Midi Controller", e, ""));
}

} // namespace Corvell
