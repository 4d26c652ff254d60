#pragma once
#include <cstdint>
#include <vector>

#include "ui/Pane.h"
#include "ui/Tooltip.h"
#include "ui/core/Delegate.h"
#include "ui/core/String.h"

namespace Corvell {

// The help line of a view: owns the notifiers of the view's controls and
// shows whichever text arrived last, in white, centred; a text that begins
// with a tab is drawn without it, left-aligned. UI thread only.
class TooltipViewer : public Pane, public TooltipHandler {
public:
    static constexpr int32_t kClearDelay = 3000; // ms a timed text stays

    TooltipViewer();
    // Deletes the notifiers before anything else, while the viewer can
    // still hear their last texts.
    ~TooltipViewer() override;

    // ---- TooltipHandler ----
    // A notifier it already holds is not added again.
    void AddTooltip(TooltipNotifier* n) override;
    void DeleteTooltips() override;

    // ---- Pane ----
    void OnDestroy() override;
    void Paint(GraphicsContext& gc) override;

    // Shows the text until another replaces it; a pending clear is cancelled.
    void Show(String text);
    // Shows the text and clears it after kClearDelay.
    void ShowTimed(String text);

    const String& GetText() const { return m_text; }
    size_t GetTooltipCount() const { return m_tooltips.size(); }

private:
    void OnClearTimer();
    void StopClearTimer();

    std::vector<TooltipNotifier*> m_tooltips;
    Ref<Delegate> m_clearTimer;
    String m_text;
    // The texts it hears: held so the same one is removed again.
    Ref<TooltipTextListener> m_showListener;
};

// Owns notifiers and repeats each of their texts through one notifier of
// its own, so that a group of tooltips can be handed on to another handler
// as a single notifier. UI thread only.
class TooltipProxy : public TooltipHandler {
public:
    // Follows no pane: it only repeats the texts of the proxy's notifiers.
    class ProxyNotifier : public TooltipNotifier {
    public:
        explicit ProxyNotifier(TooltipProxy* proxy);
        ~ProxyNotifier() override;

        void Repeat(String text);

    private:
        friend class TooltipProxy;
        TooltipProxy* m_proxy;
    };

    TooltipProxy();
    ~TooltipProxy();
    TooltipProxy(const TooltipProxy&) = delete;
    TooltipProxy& operator=(const TooltipProxy&) = delete;

    // Neither a notifier it already holds nor its own notifier is added.
    void AddTooltip(TooltipNotifier* n) override;
    void DeleteTooltips() override;

    // The notifier that repeats the texts; null once a handler it was
    // handed to has deleted it.
    ProxyNotifier* GetNotifier() const { return m_notifier; }
    // Gives the notifier to `other` (not the proxy itself), which owns it
    // from then on; once only.
    // Whichever of the proxy and its notifier goes first unlinks the other.
    bool HandOnTo(TooltipHandler* other);
    size_t GetTooltipCount() const { return m_tooltips.size(); }

private:
    void Forward(String text);

    std::vector<TooltipNotifier*> m_tooltips;
    ProxyNotifier* m_notifier;
    bool m_ownsNotifier = true;
    Ref<TooltipTextListener> m_forward;
};

} // namespace Corvell
