#include "binding/win32/CVRorezoZavu.h"

#include "shared/Graphics/Bitmap.h"
#include "view/RorezoZavu.h"

#include <cstring>

namespace Corvell {

namespace {
volatile LONG g_livePages = 0;
}

LONG CVRorezoZavu::LivePages() { return InterlockedCompareExchange(&g_livePages, 0, 0); }

CVRorezoZavu::CVRorezoZavu() : m_view(new RorezoZavu) { InterlockedIncrement(&g_livePages); }

CVRorezoZavu::~CVRorezoZavu() {
    // The window goes first, so no message reaches a deleted view.
    DestroyNativeWindow();
    if (m_view) {
        m_view->DetachHost();
        delete m_view;
        m_view = nullptr;
    }
    m_host = nullptr;
    // Images are shared by all pages; with the last one gone they are
    // released, so the module can be unloaded.
    if (InterlockedDecrement(&g_livePages) == 0)
        ClearImageCache();
}

void* CVRorezoZavu::GetInterface(const char* name) {
    if (name && std::strcmp(name, "CVRorezoZavu-COM-IUnknown") == 0)
        return static_cast<IUnknown*>(static_cast<IPropertyPage*>(this));
    return m_host ? m_host->GetInterface(name) : nullptr;
}

bool CVRorezoZavu::ApplyObjects(ULONG count, IUnknown** objects) {
    // The view leaves the previous host before it meets a new (or no) one.
    m_view->DetachHost();
    if (count == 0) {
        m_host = nullptr;
        return true;
    }
    m_host = reinterpret_cast<ICorvellHost*>(objects[0]);
    if (!m_host)
        return false;
    return m_view->AttachHost(this);
}

void CVRorezoZavu::FillPageInfo(PROPPAGEINFO& info) {
    info.size.cx = m_view->GetBounds().width;
    info.size.cy = m_view->GetBounds().height;
}

void CVRorezoZavu::OnPageWindowCreated(int32_t width, int32_t height) {
    m_view->SetFlags(kClosed, false);
    m_view->Create(this, Rect{0, 0, width, height});
    m_view->OnWindowCreated();
}

} // namespace Corvell
