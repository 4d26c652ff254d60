#pragma once
#include <memory>

#include "ui/ToggleButton.h"

namespace Corvell {

// A check box or radio button: a square mark at the left (side the smaller
// of width and height) and a text button in the rest. The mark always
// shows this button's on state. Pressing and clicking either part is
// pressing and clicking this button: its press observer and click
// listeners hear it, with this button. Like every toggle it does not
// change its own state; the click listener does.
class CheckRadioButton : public ToggleButton {
public:
    enum class Kind { Check, Radio };

    explicit CheckRadioButton(Kind kind = Kind::Check, const String& label = String());
    ~CheckRadioButton() override;

    // Places the button and builds its two parts.
    void Create(Pane* parent, const Rect& bounds) override;

    void SetLabel(const String& label);
    const String& GetLabel() const { return m_label; }

    Kind GetKind() const { return m_kind; }
    // Null before Create.
    ToggleButton* GetMark() const { return m_mark.get(); }
    Button* GetLabelButton() const { return m_text.get(); }

private:
    class ClickRelay;
    class PressRelay;

    Kind m_kind;
    String m_label;
    std::unique_ptr<ToggleButton> m_mark;
    std::unique_ptr<Button> m_text;
    Ref<ClickRelay> m_clickRelay;
    Ref<PressRelay> m_pressRelay;
};

} // namespace Corvell
