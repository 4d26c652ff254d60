#pragma once
#include <cstdint>

#include "ui/MouseListener.h"
#include "ui/Pane.h"
#include "ui/RangeControl.h"
#include "ui/core/Delegate.h"
#include "ui/core/MulticastDelegate.h"
#include "ui/core/Ref.h"
#include "ui/core/String.h"

namespace Corvell {

class Button;
class Combo;
class NoteNumEditor;
class SelectableButton;
class TooltipNotifier;

// The views show help and values in one line instead of floating tips.
// A handler owns the notifiers of its controls and hears their texts.
class TooltipHandler {
public:
    // Takes ownership of n and listens to its texts; null is ignored.
    virtual void AddTooltip(TooltipNotifier* n) = 0;
    // Deletes every notifier it owns, the most recently added first.
    virtual void DeleteTooltips() = 0;

protected:
    ~TooltipHandler() = default;
};

using TooltipTextListener = Delegate1<String>;

// Describes one pane: when the pointer enters it the notifier says its
// text to its text listeners, when the pointer leaves it says the empty
// text. UI thread only.
//
// The pane may be null (nothing to listen to) and may go before the
// notifier: the notifier then no longer touches it. A notifier deleted
// while the pointer is inside its pane says the empty text first, so the
// line never keeps the text of a control that went away.
class TooltipNotifier : public MouseHandlerImp {
public:
    TooltipNotifier(Pane* pane, String title);
    ~TooltipNotifier() override;
    TooltipNotifier(const TooltipNotifier&) = delete;
    TooltipNotifier& operator=(const TooltipNotifier&) = delete;

    void MouseEntered(MouseEvent& e) override;
    void MouseExited(MouseEvent& e) override;

    // What the line shows for this pane; the title by default.
    virtual String GetText();

    // Tells the text listeners. A listener may delete this notifier.
    void Notify(String text);
    // Notify(GetText()).
    void Speak();

    void AddTextListener(Ref<TooltipTextListener> l);
    bool RemoveTextListener(TooltipTextListener* l);

    // Null once the pane is gone.
    Pane* GetPane() const { return m_pane.Get(); }
    const String& GetTitle() const { return m_title; }
    // The pointer entered the pane and has not left it.
    bool IsPointerInside() const { return m_inside; }

protected:
    // For notifiers that repeat others' texts rather than follow a pane.
    void SetPointerInside(bool inside) { m_inside = inside; }

private:
    PaneGuard m_pane;
    String m_title;
    // On the heap: a listener may delete the notifier while the list runs.
    Ref<MulticastDelegate1<String>> m_listeners;
    bool m_inside = false;
};

// The notifiers that also speak whenever their range control tells of an
// edit (Begin, Changed, End), whether or not the pointer is over the pane.
// Without a control they show their title only. The control may go first
// when it is a pane.
class RangeTooltipBase : public TooltipNotifier {
public:
    RangeTooltipBase(Pane* pane, String title, RangeControl* control);
    ~RangeTooltipBase() override;

    // Null without a control, or once a control that is a pane is gone.
    RangeControl* GetControl() const;

private:
    // Counted, so that a notifier deleted while the control tells its
    // listeners leaves nothing freed in the control's hands.
    class Relay;

    RangeControl* m_control;
    PaneGuard m_controlPane; // the control as a pane, when it is one
    bool m_controlIsPane;
    Ref<Relay> m_relay;
};

// "title: text" where the unit writes the text for the control's value.
class RangeControlTooltip : public RangeTooltipBase {
public:
    struct Args {
        int32_t value = 0;
        String text; // empty on entry
    };
    using Unit = Delegate1<Args&>;

    // unit: not owned; without one the value is written as a number.
    RangeControlTooltip(Pane* pane, String title, RangeControl* control, Unit* unit);

    String GetText() override;

private:
    Unit* m_unit;
};

// "title: <value><suffix>".
class NotifyingRangeControl : public RangeTooltipBase {
public:
    NotifyingRangeControl(Pane* pane, String title, RangeControl* control, String suffix);

    String GetText() override;

private:
    String m_suffix;
};

// "title: <note name>" for a note number editor, on the editor's pane.
class NoteNumTooltip : public NotifyingRangeControl {
public:
    NoteNumTooltip(NoteNumEditor* editor, String title);

    String GetText() override;

private:
    NoteNumEditor* m_editor;
};

// "title: On" or "title: Off" by the button's state; also speaks after a
// mouse button is released over the button.
class ToggleTooltip : public TooltipNotifier {
public:
    ToggleTooltip(Button* button, String title);

    void MouseReleased(MouseEvent& e) override;
    String GetText() override;
};

// "title is On" or "title is Off"; speaks whenever the button's selection
// listeners are told.
class ToggleNotifier : public TooltipNotifier {
public:
    ToggleNotifier(SelectableButton* button, String title);
    ~ToggleNotifier() override;

    String GetText() override;

private:
    void OnSelection(SelectableButton*) { Speak(); }

    Ref<Delegate1<SelectableButton*>> m_listener;
    String m_onText;
    String m_offText;
};

// "title: <selected item>"; the item alone with an empty title, nothing
// for a combo without items. Speaks whenever the user has chosen an item.
class ComboTooltip : public TooltipNotifier {
public:
    // A title that already ends in ": " gets no second one.
    ComboTooltip(Combo* combo, String title);
    ~ComboTooltip() override;

    String GetText() override;

private:
    void OnChosen(Combo*) { Speak(); }

    Ref<Delegate1<Combo*>> m_listener;
    String m_prefix; // the title with its ": "
};

} // namespace Corvell
