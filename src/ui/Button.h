#pragma once
#include <cstdint>

#include "shared/Graphics/Color.h"
#include "shared/Graphics/GraphicsContext.h"
#include "ui/Pane.h"
#include "ui/core/Delegate.h"
#include "ui/core/MulticastDelegate.h"
#include "ui/core/String.h"

namespace Corvell {

class Button;

// What a click listener hears: the button and the mouse button (1 = left).
struct ButtonListenerArgs {
    Button* button = nullptr;
    int32_t mouseButton = 0;
};

using ButtonListener = Delegate1<ButtonListenerArgs>;
using ButtonListenerList = MulticastDelegate1<ButtonListenerArgs>;

// Told when the left button goes down on a button and when that press
// ends. Every Pressed is followed by exactly one Released, also when the
// press ends without a release (capture lost, the button hidden, disabled
// or destroyed); a release whose press went elsewhere is not reported.
class NotifyListener : public AbstractDelegate {
public:
    virtual void Pressed(Button* button) = 0;
    virtual void Released(Button* button) = 0;
};

// Several press observers behind one. Never changed once made: adding or
// removing an observer makes a new one, so a press always ends with the
// observers that heard it start.
class NotifyListenerFanOut : public CountedObject<NotifyListener> {
public:
    NotifyListenerFanOut(Ref<NotifyListener> first, Ref<NotifyListener> second);

    void Pressed(Button* button) override;
    void Released(Button* button) override;

    // What an observer slot holding `current` becomes with l added or removed.
    static Ref<NotifyListener> Combine(Ref<NotifyListener> current, Ref<NotifyListener> l);
    static Ref<NotifyListener> Without(Ref<NotifyListener> current, NotifyListener* l);

private:
    Ref<NotifyListener> m_first;
    Ref<NotifyListener> m_second;
};

// A pane that reacts to the left mouse button: press and release over the
// same button is a click. It shows a caption whose colour, font and
// position follow the button's state.
class Button : public Pane {
public:
    enum ButtonFlag : uint32_t {
        kHeld = 0x1,            // the left button went down here and is not yet released
        kHover = 0x2,           // the pointer is over the button (and, while held, inside it)
        kOwnNormalColor = 0x4,
        kOwnPressedColor = 0x8,
        kOwnDisabledColor = 0x10,
        kShadow = 0x20,         // caption drawn first one pixel higher in the disabled colour
        kOwnFont = 0x40,        // the button's own size and unit
        kBold = 0x80,
        kBoldWhenPressed = 0x100,
        kInset = 0x200,         // caption rectangle inset by 2, down 1 more while held
        kFormatShift = 10,      // caption text format (DrawText bits) << 10
        kFormatMask = 0xffu << kFormatShift,
        kStateMask = kHeld | kHover,
    };
    static constexpr uint32_t kDefaultFlags = kInset | ((kTextCenter | kTextVCenter) << kFormatShift);

    Button();
    ~Button() override;

    // ---- Pane operations ----
    void OnDestroy() override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void Paint(GraphicsContext& gc) override;
    void OnMouseEvent(MouseEvent& e) override;

    // ---- added by the button, in slot order ----
    // The pressed look: held with the pointer over the button.
    virtual bool IsPressed() const;
    virtual bool IsOn() const;
    // Called after the held or hover state changed (and the button was invalidated).
    virtual void OnPressStateChanged();
    virtual void GetCaptionRect(Rect& out) const;

    // ---- caption ----
    void SetCaption(const String& caption);
    const String& GetCaption() const { return m_caption; }
    // unit: Font::Points or Font::Pixels.
    void SetFontSize(float size, int32_t unit);
    float GetFontSize() const { return m_fontSize; }
    int32_t GetFontUnit() const { return m_fontUnit; }
    void SetTextColors(Color normal, Color pressed, Color disabled);
    void SetNormalTextColor(Color c);
    void SetPressedTextColor(Color c);
    // Also the shadow's colour.
    void SetDisabledTextColor(Color c);
    Color GetNormalTextColor() const { return m_normalColor; }
    Color GetPressedTextColor() const { return m_pressedColor; }
    Color GetDisabledTextColor() const { return m_disabledColor; }
    // DrawText format bits (kTextCenter, kTextRight, kTextVCenter, kTextBottom, ...).
    void SetTextFormat(uint32_t format);
    uint32_t GetTextFormat() const { return (m_buttonFlags & kFormatMask) >> kFormatShift; }

    // Set and Clear change the flags other than kHeld and kHover, which follow the mouse.
    uint32_t GetButtonFlags() const { return m_buttonFlags; }
    void SetButtonFlags(uint32_t mask);
    void ClearButtonFlags(uint32_t mask);
    bool IsHeld() const { return (m_buttonFlags & kHeld) != 0; }
    bool IsHovered() const { return (m_buttonFlags & kHover) != 0; }

    // ---- listeners ----
    void AddClickListener(Ref<ButtonListener> l);
    bool RemoveClickListener(ButtonListener* l);
    // A second observer is combined with the first; both hear every press.
    void SetPressObserver(Ref<NotifyListener> observer);
    void RemovePressObserver(NotifyListener* observer);
    NotifyListener* GetPressObserver() const { return m_pressObserver.Get(); }

protected:
    // Draws the caption as the flags say; nothing for an empty caption.
    void PaintCaption(GraphicsContext& gc);
    // Invokes the click listeners with (this, mouseButton).
    void FireClick(int32_t mouseButton);
    // A press starts: the press observer hears Pressed once.
    void BeginGesture();
    // The press ends: the observer that heard Pressed hears Released once.
    void EndGesture();
    // Ends a press without a click (the release will not come here).
    void CancelPress();

    // Free for subclasses (PlayButton's press listeners).
    Ref<ButtonListenerList> m_moreListeners;

private:
    // Sets kHeld, and kHover from the pointer's place.
    void ApplyState(bool held);
    void SetHeld(bool held);
    void UpdateHover();

    // Lists live on the heap: a listener may delete the button while the
    // list runs, and the list must outlive that call.
    Ref<ButtonListenerList> m_clickListeners;
    Ref<NotifyListener> m_pressObserver;
    String m_caption;
    float m_fontSize = 0.0f;
    int32_t m_fontUnit = 0;
    // The caption's font from the last paint, made again only when what it
    // derives from changes: making a font is slow on some platforms.
    Ref<Font> m_captionFont;
    Color m_normalColor = 0;
    Color m_pressedColor = 0;
    Color m_disabledColor = 0;
    uint32_t m_buttonFlags = kDefaultFlags;

    // Hover as the root reports it (MouseEnter/MouseLeave), and whether the
    // pointer is inside while held; kHover is both.
    bool m_pointerOver = false;
    bool m_insideWhileHeld = false;

    // The observer that heard Pressed, while the press lasts.
    Ref<NotifyListener> m_gestureObserver;
    bool m_gestureOpen = false;
    // The click listeners of a release are running; the release ends the press.
    bool m_releasing = false;
};

} // namespace Corvell
