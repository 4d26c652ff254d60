#include "ui/Tooltip.h"

#include <utility>

#include "ui/Button.h"
#include "ui/Combo.h"
#include "ui/NoteNumEditor.h"
#include "ui/SelectableButton.h"

namespace Corvell {

// ---- TooltipNotifier -------------------------------------------------------------

TooltipNotifier::TooltipNotifier(Pane* pane, String title)
    : m_pane(pane), m_title(std::move(title)), m_listeners(new MulticastDelegate1<String>) {
    if (pane)
        pane->AddMouseListener(this);
}

TooltipNotifier::~TooltipNotifier() {
    // The line must not keep the text of a pane whose notifier is gone (a
    // page rebuilt under the pointer sends no leave).
    if (m_inside) {
        m_inside = false;
        Notify(String());
    }
    if (Pane* pane = m_pane.Get())
        pane->RemoveMouseListener(this);
    // A list still running (a listener deleted this notifier) calls no one after this.
    m_listeners->Clear();
}

void TooltipNotifier::MouseEntered(MouseEvent&) {
    m_inside = true;
    Speak();
}

void TooltipNotifier::MouseExited(MouseEvent&) {
    m_inside = false;
    Notify(String());
}

String TooltipNotifier::GetText() { return m_title; }

void TooltipNotifier::Notify(String text) {
    // Held here: a listener may delete this notifier, and the list with it.
    Ref<MulticastDelegate1<String>> list = m_listeners;
    if (!list->IsEmpty())
        list->Invoke(std::move(text));
}

void TooltipNotifier::Speak() { Notify(GetText()); }

void TooltipNotifier::AddTextListener(Ref<TooltipTextListener> l) { m_listeners->Add(std::move(l)); }

bool TooltipNotifier::RemoveTextListener(TooltipTextListener* l) { return m_listeners->Remove(l); }

// ---- range controls --------------------------------------------------------------

class RangeTooltipBase::Relay : public CountedObject<RangeControlListener> {
public:
    explicit Relay(RangeTooltipBase* target) : m_target(target) {}
    void Forget() { m_target = nullptr; }

    void Begin(RangeControl*) override { Tell(); }
    void Changed(RangeControl*) override { Tell(); }
    void End(RangeControl*) override { Tell(); }

private:
    void Tell() {
        if (m_target)
            m_target->Speak();
    }
    RangeTooltipBase* m_target;
};

RangeTooltipBase::RangeTooltipBase(Pane* pane, String title, RangeControl* control)
    : TooltipNotifier(pane, std::move(title)), m_control(control),
      m_controlPane(control ? dynamic_cast<Pane*>(control) : nullptr), m_controlIsPane(m_controlPane.IsAlive()),
      m_relay(control ? new Relay(this) : nullptr) {
    if (m_control)
        m_control->AddListener(m_relay.Get());
}

RangeTooltipBase::~RangeTooltipBase() {
    if (!m_relay)
        return;
    m_relay->Forget();
    if (RangeControl* control = GetControl())
        control->RemoveListener(m_relay.Get());
}

RangeControl* RangeTooltipBase::GetControl() const {
    if (m_controlIsPane && !m_controlPane.IsAlive())
        return nullptr;
    return m_control;
}

RangeControlTooltip::RangeControlTooltip(Pane* pane, String title, RangeControl* control, Unit* unit)
    : RangeTooltipBase(pane, std::move(title), control), m_unit(unit) {}

String RangeControlTooltip::GetText() {
    RangeControl* control = GetControl();
    if (!control)
        return GetTitle();
    Args args;
    args.value = control->GetValue();
    if (m_unit)
        m_unit->Invoke(args);
    else
        args.text.Format("%d", args.value);
    return GetTitle() + ": " + args.text;
}

NotifyingRangeControl::NotifyingRangeControl(Pane* pane, String title, RangeControl* control, String suffix)
    : RangeTooltipBase(pane, std::move(title), control), m_suffix(std::move(suffix)) {}

String NotifyingRangeControl::GetText() {
    RangeControl* control = GetControl();
    if (!control)
        return GetTitle();
    String value;
    value.Format(": %d%s", control->GetValue(), m_suffix.c_str());
    return GetTitle() + value;
}

NoteNumTooltip::NoteNumTooltip(NoteNumEditor* editor, String title)
    : NotifyingRangeControl(editor, std::move(title), editor, String()), m_editor(editor) {}

String NoteNumTooltip::GetText() {
    if (!GetControl())
        return GetTitle();
    return GetTitle() + ": " + m_editor->FormatValue(m_editor->GetValue());
}

// ---- buttons ---------------------------------------------------------------------

ToggleTooltip::ToggleTooltip(Button* button, String title) : TooltipNotifier(button, std::move(title)) {}

void ToggleTooltip::MouseReleased(MouseEvent& e) {
    // The click listeners have run by now: the text shows the new state.
    Pane* pane = GetPane();
    if (pane && pane->Contains(Point{e.x, e.y}))
        Speak();
}

String ToggleTooltip::GetText() {
    auto* button = static_cast<Button*>(GetPane());
    if (!button)
        return GetTitle();
    return GetTitle() + (button->IsOn() ? ": On" : ": Off");
}

ToggleNotifier::ToggleNotifier(SelectableButton* button, String title)
    : TooltipNotifier(button, title), m_onText(title + " is On"), m_offText(title + " is Off") {
    if (button) {
        // Counted, not embedded: the list holds the delegate it is calling,
        // and a listener may delete this notifier during that call.
        m_listener = MakeDelegate(this, &ToggleNotifier::OnSelection);
        button->AddSelectionListener(m_listener);
    }
}

ToggleNotifier::~ToggleNotifier() {
    if (auto* button = static_cast<SelectableButton*>(GetPane()))
        button->RemoveSelectionListener(m_listener.Get());
}

String ToggleNotifier::GetText() {
    auto* button = static_cast<SelectableButton*>(GetPane());
    if (!button)
        return GetTitle();
    return button->IsOn() ? m_onText : m_offText;
}

// ---- combos ----------------------------------------------------------------------

namespace {
String ComboPrefix(const String& title) {
    if (title.IsEmpty())
        return title;
    if (title.GetLength() >= 2 && title.Right(2) == ": ")
        return title;
    return title + ": ";
}
} // namespace

ComboTooltip::ComboTooltip(Combo* combo, String title)
    : TooltipNotifier(combo, title), m_prefix(ComboPrefix(title)) {
    if (combo) {
        // Counted, as the toggle notifier's.
        m_listener = MakeDelegate(this, &ComboTooltip::OnChosen);
        combo->AddChosenListener(m_listener);
    }
}

ComboTooltip::~ComboTooltip() {
    if (auto* combo = static_cast<Combo*>(GetPane()))
        combo->RemoveChosenListener(m_listener.Get());
}

String ComboTooltip::GetText() {
    auto* combo = static_cast<Combo*>(GetPane());
    if (!combo)
        return GetTitle();
    if (combo->GetItemCount() == 0)
        return String();
    return m_prefix + combo->GetItemText(combo->GetSelectedIndex());
}

} // namespace Corvell
