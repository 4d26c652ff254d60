#include "view/RorezoZavu.h"

#include "shared/Graphics/Bitmap.h"

#include <cstring>

namespace Corvell {

RorezoZavu::RorezoZavu() : m_rnc(new CVRnC(&m_site)) {
    m_site.SetRnC(m_rnc.get());
    SetBounds(Rect{0, 0, kWidth, kHeight});
}

RorezoZavu::~RorezoZavu() {
    DetachHost();
    m_site.SetRnC(nullptr);
}

bool RorezoZavu::AttachHost(ICorvellHost* host) {
    DetachHost();
    if (!host)
        return false;
    m_host = host;
    for (auto& n : m_interfaces)
        n.iface = host->GetInterface(n.name);
    m_rnc->Attach(static_cast<IRnC*>(EngineInterface("IRnC")));
    Invalidate(LocalBounds());
    return true;
}

void RorezoZavu::DetachHost() {
    if (!m_host)
        return;
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

void RorezoZavu::Paint(GraphicsContext& gc) {
    if (auto image = GetImage("bkgnd-tarrow.png"))
        gc.DrawImage(Point{0, 0}, image.Get());
}

} // namespace Corvell
