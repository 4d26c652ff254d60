#pragma once
// The velocity-effect view of the chord-mode and harmony pages: one of
// seven velocity-triggered effects, with its velocity threshold, time and
// steps as play parameters. At most one velocity effect stays on.
#include "binding/IRnC.h"
#include "ui/ALabel.h"
#include "ui/Combo.h"
#include "ui/HSlider3.h"
#include "ui/NumberEditor.h"
#include "ui/Pane.h"
#include "ui/Tooltip.h"
#include "ui/core/Effects.h"

#include <memory>
#include <vector>

namespace Corvell {

// "<title or the source's item>: <subtitle> <value><suffix>", the value
// divided by the divisor; follows the control while it changes.
class NotifyingFxControl : public TooltipNotifier {
public:
    NotifyingFxControl(Pane* pane, Combo* titleSource, RangeControl* control, String title, String subtitle,
                       String suffix, int divisor);
    ~NotifyingFxControl() override;
    String GetText() override;

private:
    struct Relay;
    PaneGuard m_source;
    Combo* m_titleSource;
    RangeControl* m_control;
    String m_title, m_subtitle, m_suffix;
    int m_divisor;
    Ref<Relay> m_relay;
};

class BasicVeloFxView : public Pane {
public:
    explicit BasicVeloFxView(IRnC* rnc);
    ~BasicVeloFxView() override;

    void Create(Pane* parent, const Rect& bounds) override;
    // The page's kinds, each time it is shown. Every active velocity effect
    // but the first listed one is switched off, offered or not: the one
    // place where showing writes to the engine, because the engine must
    // never run two velocity effects at once.
    void SetKinds(const std::vector<int>& kinds);
    void OnParameterChanged(int id);
    // Hears the engine's parameter notices itself, where no page passes
    // them on (the gallery); stops when the view goes.
    void Listen();
    void RefreshValues();
    void RegisterTooltips(TooltipHandler& handler);

    // -1 when "Off" shows.
    int Current() const { return m_current; }
    Combo* KindCombo() { return &m_kindCombo; }
    NumberEditor* VeloEditor() { return &m_velo; }
    HSlider3* TimeSlider() { return &m_time; }
    NumberEditor* StepsEditor() { return &m_steps; }

private:
    struct Relay;
    void SelectKind(int kind);
    void ShowOff();
    void OnKindChosen(int item);
    void Write(int par, int value);
    int Get(int par) const;
    int ParameterOf(RangeControl* c) const;
    void OnBegin(RangeControl* c);
    void OnChanged(RangeControl* c);
    void OnEnd(RangeControl* c);

    IRnC* const m_rnc;
    int m_current = -1;
    std::vector<int> m_list; // the kind of combo item 1, 2, ...
    BCombo m_kindCombo;
    NumberEditor m_velo;
    HSlider3 m_time;
    NumberEditor m_steps;
    std::vector<std::unique_ptr<ALabel>> m_labels;
    // The parameter of the edit in progress, taken at its Begin: a kind
    // changed by the engine mid-drag must not end another parameter's edit.
    int m_editParameter = 0;
    RangeControl* m_editControl = nullptr;
    Ref<Relay> m_relay;
    Ref<Delegate1<ERnCPars>> m_parameterListener;
};

} // namespace Corvell
