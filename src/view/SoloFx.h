#pragma once
// The effect panes: pick one effect type of a list, switch it on and off,
// edit its one or two values. FxControl edits the effect of one engine
// slot, FxManual the manual effects addressed by type. Showing a pane
// writes nothing to the engine, apart from asking for the list's first
// type when the slot holds a type the list does not offer.
#include "binding/IRnC.h"
#include "ui/CheckMark.h"
#include "ui/Combo.h"
#include "ui/HSlider3.h"
#include "ui/NumEditor.h"
#include "ui/Pane.h"
#include "ui/Tooltip.h"
#include "ui/core/Effects.h"
#include "ui/core/MulticastDelegate.h"

#include <memory>
#include <vector>

namespace Corvell {

class SoloFx : public Pane {
public:
    explicit SoloFx(IRnC* rnc);
    ~SoloFx() override;

    // Replaces the list, refills the selector and reloads.
    void SetEffectList(int count, const int* types);
    const std::vector<int>& EffectList() const { return m_list; }

    void Create(Pane* parent, const Rect& bounds) override;
    void Paint(GraphicsContext& gc) override;
    void PaintAll(GraphicsContext& gc) override;

    // ---- in slot order ----
    virtual void RegisterTooltips(TooltipHandler& handler);
    virtual int GetFxType() = 0;
    virtual void SetFxType(int type) = 0;
    virtual bool IsFxOn() = 0;
    virtual bool IsSlotKnown() { return false; }
    virtual void SetFxOn(bool on) = 0;
    virtual int GetFxValue(int index) = 0;
    virtual void SetFxValue(int index, int value) = 0;
    virtual void Reload();
    virtual void ShowEffect(int type);
    virtual void UpdateValues(int type);

    // ---- the parts ----
    Combo* Selector() { return &m_selector; }
    CheckMark* OnMark() { return &m_onMark; }
    HSlider3* Slider() { return &m_slider; }
    NumEditor* NumberEditor() { return &m_editor; }
    // The combo of a value kind 2..8, else null.
    Combo* ValueCombo(int kind);
    // Told after every change the user makes.
    void AddChangedListener(Ref<Delegate> l) { m_changed->Add(std::move(l)); }
    bool RemoveChangedListener(Delegate* l) { return m_changed->Remove(l); }
    // The tooltip's text: the effect's name and its values as shown.
    std::string TooltipText();

protected:
    // An effect notice, on the window's thread.
    virtual void OnFxNotice(IRnC::FxListenerArgs args) = 0;
    IRnC* Rnc() const { return m_rnc; }

private:
    struct Relay;
    void Layout();
    void Changed();
    void OnSelector(int index);
    void OnMarkClick();
    void OnRange(RangeControl* c);
    void OnValueCombo(int kind, int index);
    std::vector<Pane*> OutlinedControls();

    IRnC* const m_rnc;
    Ref<MulticastDelegate> m_changed{new MulticastDelegate};
    std::vector<int> m_list;
    BCombo m_selector;
    CheckMark m_onMark;
    HSlider3 m_slider;
    NumEditor m_editor;
    BCombo m_combos[Effects::kValueKinds - Effects::kLengthValue];
    int m_sliderValue = 0, m_editorValue = 0, m_lengthValue = 0, m_intervalValue = 0, m_fretValue = 0;
    bool m_correcting = false;
    // The unlisted type last corrected: a slot that keeps refusing the
    // list's first type is asked once, not on every notice.
    int m_correctedFrom = Effects::kUnknownType;
    Ref<Relay> m_relay;
};

// The effect in one engine slot, with up to three switches of the slot.
class FxControl : public SoloFx {
public:
    FxControl(IRnC* rnc, int slot);
    ~FxControl() override;

    // which 0..2; mark is not owned and may be null.
    void SetSwitch(int which, CheckMark* mark);
    int Slot() const { return m_slot; }

    int GetFxType() override;
    void SetFxType(int type) override;
    bool IsFxOn() override;
    bool IsSlotKnown() override;
    void SetFxOn(bool on) override;
    int GetFxValue(int index) override;
    void SetFxValue(int index, int value) override;
    void UpdateValues(int type) override;

protected:
    void OnFxNotice(IRnC::FxListenerArgs args) override;

private:
    const int m_slot;
    CheckMark* m_switches[3] = {nullptr, nullptr, nullptr};
    // The marks belong to the page and may go first.
    std::unique_ptr<PaneGuard> m_switchGuards[3];
    Ref<Delegate1<ButtonListenerArgs>> m_switchClicks[3];
};

// The manual effects, addressed by type: at most one of the list is on.
class FxManual : public SoloFx {
public:
    explicit FxManual(IRnC* rnc);

    // The first listed type that is on becomes current; every other listed
    // type is switched off. Types the list does not offer (the wah-wah of
    // its own section, for one) are left as they are.
    void Refresh();
    int Current() const { return m_current; }

    int GetFxType() override { return m_current; }
    void SetFxType(int type) override;
    bool IsFxOn() override;
    void SetFxOn(bool on) override;
    int GetFxValue(int index) override;
    void SetFxValue(int index, int value) override;
    void Reload() override;

protected:
    void OnFxNotice(IRnC::FxListenerArgs args) override;

private:
    int m_current = 0;
};

} // namespace Corvell
