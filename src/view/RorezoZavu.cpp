#include "view/RorezoZavu.h"

#include "binding/StrokeNotifier.h"
#include "shared/Graphics/Bitmap.h"

#include <cstring>

namespace Corvell {

RorezoZavu::RorezoZavu()
    : m_rnc(new CVRnC(&m_site)), m_guitar(new CVGuitar(&m_site)), m_sampler(new CVSampler(&m_site)) {
    m_site.SetRnC(m_rnc.get());
    m_site.SetGuitar(m_guitar.get());
    m_site.SetSampler(m_sampler.get());
    SetBounds(Rect{0, 0, kWidth, kHeight});

    m_display.reset(new DisplayPane(m_guitar.get()));
    AddChild(m_display.get());
    m_samplerStatus.reset(new SamplerStatus(m_sampler.get(), this, m_display->Voices(), m_display->Memory(),
                                            m_display->Status()));
    m_display->Selector()->Refresh();
    // The engine's messages on the status line; the line owns the notifier.
    m_display->Status()->AddTooltip(new StrokeNotifier(this, m_rnc.get(), &m_thread));
}

RorezoZavu::~RorezoZavu() {
    DetachHost();
    m_controllers.Clear();
    // What listens to the proxies goes while they are still there.
    m_samplerStatus.reset();
    m_display.reset();
    m_site.SetRnC(nullptr);
    m_site.SetGuitar(nullptr);
    m_site.SetSampler(nullptr);
}

bool RorezoZavu::AttachHost(ICorvellHost* host) {
    DetachHost();
    if (!host)
        return false;
    m_host = host;
    for (auto& n : m_interfaces)
        n.iface = host->GetInterface(n.name);
    m_guitar->Attach(static_cast<IGuitar*>(EngineInterface("IGuitar")));
    m_sampler->Attach(static_cast<ISampler*>(EngineInterface("ISampler")));
    m_rnc->Attach(static_cast<IRnC*>(EngineInterface("IRnC")));
    Invalidate(LocalBounds());
    return true;
}

void RorezoZavu::DetachHost() {
    if (!m_host)
        return;
    m_guitar->Attach(nullptr);
    m_sampler->Attach(nullptr);
    m_rnc->Attach(nullptr);
    for (auto& n : m_interfaces)
        n.iface = nullptr;
    m_host = nullptr;
}

void* RorezoZavu::EngineInterface(const char* name) const {
    for (const auto& n : m_interfaces)
        if (name && std::strcmp(n.name, name) == 0)
            return n.iface;
    return nullptr;
}

void RorezoZavu::ViewSite::HandleRnCParameter(ERnCPars par) {
    PaneGuard alive(m_view);
    UiProxySite::HandleRnCParameter(par);
    if (alive.IsAlive())
        m_view->m_controllers.Update(m_view->m_rnc.get(), par);
}

// A reset is every parameter changing, in ascending order.
void RorezoZavu::ViewSite::HandleRnCReset() {
    PaneGuard alive(m_view);
    UiProxySite::HandleRnCReset();
    for (int par = 0; par < rncParCount && alive.IsAlive(); ++par)
        m_view->m_controllers.Update(m_view->m_rnc.get(), static_cast<ERnCPars>(par));
}

void RorezoZavu::OnWindowCreated() {
    Pane::OnWindowCreated();
    m_display->Selector()->Refresh();
    m_samplerStatus->Reload();
}

void RorezoZavu::Paint(GraphicsContext& gc) {
    if (auto image = GetImage("bkgnd-tarrow.png"))
        gc.DrawImage(Point{0, 0}, image.Get());
}

} // namespace Corvell
