#include "ui/TooltipViewer.h"

#include <algorithm>
#include <utility>

#include "shared/Graphics/GraphicsContext.h"
#include "shared/Graphics/Palette.h"

namespace Corvell {

namespace {
constexpr int32_t kTextColorIndex = 8; // white
}

// ---- TooltipViewer ----------------------------------------------------------------

TooltipViewer::TooltipViewer()
    : m_clearTimer(MakeDelegate(this, &TooltipViewer::OnClearTimer)),
      m_showListener(MakeDelegate(this, &TooltipViewer::Show)) {}

TooltipViewer::~TooltipViewer() {
    // First, while the whole viewer still stands: a notifier's last text
    // reaches a live viewer, and a timer it starts is stopped below.
    DeleteTooltips();
    // The base destructor can only reach Pane::OnDestroy.
    if (!IsClosed())
        OnDestroy();
    // Stopped here too: OnDestroy may have run long ago, and the timer
    // holds a delegate bound to this viewer.
    StopClearTimer();
}

void TooltipViewer::AddTooltip(TooltipNotifier* n) {
    // Held once: a second entry would delete it twice.
    if (!n || std::find(m_tooltips.begin(), m_tooltips.end(), n) != m_tooltips.end())
        return;
    m_tooltips.push_back(n);
    n->AddTextListener(m_showListener);
}

void TooltipViewer::DeleteTooltips() {
    // Taken out first: a notifier's last text may come back here.
    std::vector<TooltipNotifier*> old;
    old.swap(m_tooltips);
    for (auto it = old.rbegin(); it != old.rend(); ++it)
        delete *it;
}

void TooltipViewer::OnDestroy() {
    StopClearTimer();
    Pane::OnDestroy();
}

void TooltipViewer::Show(String text) {
    StopClearTimer();
    m_text = std::move(text);
    InvalidateAll();
}

void TooltipViewer::ShowTimed(String text) {
    Show(std::move(text));
    AddTimer(m_clearTimer, kClearDelay);
}

void TooltipViewer::OnClearTimer() {
    // Once only.
    StopClearTimer();
    m_text.Empty();
    InvalidateAll();
}

void TooltipViewer::StopClearTimer() { RemoveTimer(m_clearTimer.Get()); }

void TooltipViewer::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    // A leading tab asks for the text left-aligned, without the tab.
    const char* text = m_text.GetString();
    uint32_t format = kTextCenter | kTextVCenter;
    if (text[0] == '\t') {
        ++text;
        format = kTextVCenter;
    }
    if (!*text)
        return;
    const Color previous = gc.GetTextColor();
    gc.SetTextColor(GetColor(kTextColorIndex));
    gc.DrawText(text, LocalBounds(), format);
    gc.SetTextColor(previous);
}

// ---- TooltipProxy -----------------------------------------------------------------

TooltipProxy::ProxyNotifier::ProxyNotifier(TooltipProxy* proxy) : TooltipNotifier(nullptr, String()), m_proxy(proxy) {}

TooltipProxy::ProxyNotifier::~ProxyNotifier() {
    if (m_proxy)
        m_proxy->m_notifier = nullptr;
}

void TooltipProxy::ProxyNotifier::Repeat(String text) {
    // It has no pane of its own: it stands inside while a repeated text shows,
    // so that deleting it clears the line as a notifier under the pointer does.
    SetPointerInside(!text.IsEmpty());
    Notify(std::move(text));
}

TooltipProxy::TooltipProxy()
    : m_notifier(new ProxyNotifier(this)), m_forward(MakeDelegate(this, &TooltipProxy::Forward)) {}

TooltipProxy::~TooltipProxy() {
    // The notifiers' last texts still go out through the proxy's notifier.
    DeleteTooltips();
    if (!m_notifier)
        return;
    if (m_ownsNotifier) {
        ProxyNotifier* n = m_notifier;
        m_notifier = nullptr;
        n->m_proxy = nullptr;
        delete n;
    } else {
        // Its new owner deletes it; it repeats nothing more.
        m_notifier->m_proxy = nullptr;
        m_notifier = nullptr;
    }
}

void TooltipProxy::AddTooltip(TooltipNotifier* n) {
    // Its own notifier would repeat itself for ever.
    if (!n || n == m_notifier || std::find(m_tooltips.begin(), m_tooltips.end(), n) != m_tooltips.end())
        return;
    m_tooltips.push_back(n);
    n->AddTextListener(m_forward);
}

void TooltipProxy::DeleteTooltips() {
    std::vector<TooltipNotifier*> old;
    old.swap(m_tooltips);
    for (auto it = old.rbegin(); it != old.rend(); ++it)
        delete *it;
}

bool TooltipProxy::HandOnTo(TooltipHandler* other) {
    if (!other || other == this || !m_notifier || !m_ownsNotifier)
        return false;
    m_ownsNotifier = false;
    other->AddTooltip(m_notifier);
    return true;
}

void TooltipProxy::Forward(String text) {
    if (m_notifier)
        m_notifier->Repeat(std::move(text));
}

} // namespace Corvell
