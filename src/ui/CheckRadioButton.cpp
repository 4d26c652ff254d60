#include "ui/CheckRadioButton.h"

#include <algorithm>

#include "ui/CheckMark.h"
#include "ui/RadioMark.h"

namespace Corvell {

namespace {
// A mark that shows the state of the button it belongs to.
template <class M>
class MirrorMark : public M {
public:
    explicit MirrorMark(const ToggleButton& owner) : m_owner(owner) {}
    bool IsOn() const override { return m_owner.IsOn(); }

private:
    const ToggleButton& m_owner;
};
} // namespace

class CheckRadioButton::ClickRelay : public CountedObject<ButtonListener> {
public:
    explicit ClickRelay(CheckRadioButton* owner) : owner(owner) {}
    void Invoke(ButtonListenerArgs args) override {
        if (owner)
            owner->FireClick(args.mouseButton);
    }
    CheckRadioButton* owner;
};

class CheckRadioButton::PressRelay : public CountedObject<NotifyListener> {
public:
    explicit PressRelay(CheckRadioButton* owner) : owner(owner) {}
    void Pressed(Button*) override {
        if (owner)
            owner->BeginGesture();
    }
    void Released(Button*) override {
        if (owner)
            owner->EndGesture();
    }
    CheckRadioButton* owner;
};

CheckRadioButton::CheckRadioButton(Kind kind, const String& label)
    : m_kind(kind), m_label(label), m_clickRelay(new ClickRelay(this)), m_pressRelay(new PressRelay(this)) {}

CheckRadioButton::~CheckRadioButton() {
    // The parts go first, while the relays still reach this button: a press
    // open on a part ends through them.
    m_mark.reset();
    m_text.reset();
    m_clickRelay->owner = nullptr;
    m_pressRelay->owner = nullptr;
}

void CheckRadioButton::Create(Pane* parent, const Rect& bounds) {
    ToggleButton::Create(parent, bounds);
    m_mark.reset();
    m_text.reset();

    const int32_t side = std::max(0, std::min(bounds.width, bounds.height));
    if (m_kind == Kind::Radio)
        m_mark.reset(new MirrorMark<RadioMark>(*this));
    else
        m_mark.reset(new MirrorMark<CheckMark>(*this));
    m_mark->Create(this, Rect{0, (bounds.height - side) / 2, side, side});

    m_text.reset(new Button);
    m_text->ClearButtonFlags(kInset);
    m_text->SetTextFormat(kTextVCenter);
    m_text->SetCaption(m_label);
    m_text->Create(this, Rect{side, 0, bounds.width - side, bounds.height});

    for (Button* part : {static_cast<Button*>(m_mark.get()), m_text.get()}) {
        part->AddClickListener(m_clickRelay);
        part->SetPressObserver(m_pressRelay);
    }
}

void CheckRadioButton::SetLabel(const String& label) {
    m_label = label;
    if (m_text)
        m_text->SetCaption(label);
}

} // namespace Corvell
