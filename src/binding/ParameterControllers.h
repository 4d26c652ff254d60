#pragma once
// Small objects that bind a control of the view to one play parameter:
// the control shows the engine's value and writes the user's changes back
// inside an edit gesture. The owner keeps them in a ParameterControllerList
// and passes every parameter notice to it.
#include "binding/IRnC.h"
#include "ui/Button.h"
#include "ui/Pane.h"
#include "ui/RangeControl.h"
#include "ui/core/Delegate.h"

#include <vector>

namespace Corvell {

class ToggleButton;

// A controller the owner updates when its parameter changes.
class IRnCParameterController : public RefCounted {
public:
    explicit IRnCParameterController(ERnCPars p) : par(p) {}
    const ERnCPars par;
    virtual void Update(ERnCPars par, int value) = 0;
};

// Brackets a button's press in an edit gesture of one parameter.
class NotifyHandler_for_IRnC : public CountedObject<NotifyListener> {
public:
    NotifyHandler_for_IRnC(IRnC* rnc, ERnCPars par) : m_rnc(rnc), m_par(par) {}
    ~NotifyHandler_for_IRnC() override;

    void Pressed(Button*) override { GrabParameter(); }
    void Released(Button*) override { ReleaseParameter(); }
    void GrabParameter();
    void ReleaseParameter();
    IRnC* GetRnC() const { return m_rnc; }
    ERnCPars GetPar() const { return m_par; }

private:
    IRnC* const m_rnc;
    const ERnCPars m_par;
    bool m_grabbed = false; // a gesture is never left open
};

// Writes a range control's value to one parameter, inside an edit gesture
// from Begin to End.
class RangeControlListener_for_IRnC : public CountedObject<RangeControlListener> {
public:
    RangeControlListener_for_IRnC(IRnC* rnc, ERnCPars par) : m_rnc(rnc), m_par(par) {}
    // Ends a gesture still open (the control went away mid-drag).
    ~RangeControlListener_for_IRnC() override;

    void Begin(RangeControl* c) override;
    void Changed(RangeControl* c) override;
    void End(RangeControl* c) override;
    IRnC* GetRnC() const { return m_rnc; }
    ERnCPars GetPar() const { return m_par; }

private:
    IRnC* const m_rnc;
    const ERnCPars m_par;
    bool m_open = false;
};

// A slider or number field bound to a parameter. Whoever binds it sets the
// control's default tick and value first (Bind does both).
class RangeController_for_IRnC : public RangeControlListener_for_IRnC, public IRnCParameterController {
public:
    // control and pane are the same object, seen as a range and as a pane.
    RangeController_for_IRnC(IRnC* rnc, ERnCPars par, RangeControl* control, Pane* pane);
    ~RangeController_for_IRnC() override;

    // Default tick from the engine's default, value from the engine, then
    // a controller that keeps the control in step.
    template <class C>
    static Ref<RangeController_for_IRnC> Bind(IRnC* rnc, ERnCPars par, C* control) {
        if (rnc && control) {
            control->SetDefault(rnc->GetParameterDefault(par));
            control->SetValue(rnc->GetParameter(par));
        }
        return Ref<RangeController_for_IRnC>(new RangeController_for_IRnC(rnc, par, control, control));
    }

    // Shows what the engine holds now; value is not trusted.
    void Update(ERnCPars par, int value) override;

    uint32_t AddRef() override { return RangeControlListener_for_IRnC::AddRef(); }
    uint32_t Release() override { return RangeControlListener_for_IRnC::Release(); }

private:
    class Relay;
    RangeControl* const m_control;
    PaneGuard m_pane;
    // What the control holds: the control never keeps the controller alive.
    Ref<Relay> m_relay;
};

// A toggle button bound to a parameter: shows it on when the value is not
// zero, and a click writes the opposite of what the button showed.
class ToggleController_for_IRnC : public NotifyHandler_for_IRnC, public IRnCParameterController {
public:
    ToggleController_for_IRnC(IRnC* rnc, ERnCPars par, ToggleButton* toggle);
    // Leaves the button: a later click or press reaches nobody.
    ~ToggleController_for_IRnC() override;

    void Update(ERnCPars par, int value) override;

    uint32_t AddRef() override { return NotifyHandler_for_IRnC::AddRef(); }
    uint32_t Release() override { return NotifyHandler_for_IRnC::Release(); }

private:
    class ClickRelay;
    class PressRelay;
    void OnClick(Pane* pane);
    PaneGuard m_toggle;
    Ref<ClickRelay> m_click;
    Ref<PressRelay> m_press;
};

// The owner's controllers. For a parameter notice, each controller of that
// parameter is updated; a controller may drop others, or the list's owner
// may delete panes, while the walk runs.
class ParameterControllerList {
public:
    void Add(Ref<IRnCParameterController> c);
    bool Remove(IRnCParameterController* c);
    void Clear() { m_items.clear(); }
    size_t Count() const { return m_items.size(); }
    // Update(par, GetParameter(par)) on every controller of par.
    void Update(IRnC* rnc, ERnCPars par);

private:
    std::vector<Ref<IRnCParameterController>> m_items;
};

} // namespace Corvell
