#pragma once
// What a proxy tells its owner. The first seven operations keep their order;
// RunOnUiThread is appended for notices that must reach panes on the
// window's thread.
#include "binding/EngineTypes.h"
#include "ui/core/Delegate.h"
#include "ui/core/Ref.h"

#include <atomic>

namespace Corvell {

class CVProxySite {
public:
    virtual ~CVProxySite() = default;
    virtual void OnGuitarChanged() = 0;
    virtual void OnRnCParameterChanged(ERnCPars par) = 0;
    virtual void OnRnCReset() = 0;
    virtual void OnSamplerParameterChanged(int par) = 0;
    virtual void OnSamplerReset() = 0;
    virtual void Reserved() {}
    virtual void OnMidiEcho(const unsigned char* bytes) = 0;
    // Runs call on the user-interface thread: at once when already there,
    // otherwise posted to the window.
    virtual void RunOnUiThread(Ref<Delegate> call) = 0;
};

// Shared between an object and the calls it posts: the object clears it when
// it dies, so a call still queued for the window finds nobody and does nothing.
class Liveness : public CountedObject<RefCounted> {
public:
    explicit Liveness(void* target) : m_target(target) {}
    void* Target() const { return m_target.load(); }
    void Clear() { m_target.store(nullptr); }

private:
    std::atomic<void*> m_target;
};

// The window's thread, as the proxies' owner sees it.
class UiThread {
public:
    virtual ~UiThread() = default;
    virtual bool IsUiThread() = 0;
    // Queues call for the window's thread (dropped when there is no window).
    virtual void Post(Ref<Delegate> call) = 0;
};

} // namespace Corvell
