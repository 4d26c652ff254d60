#pragma once
// The view's stand-in for the engine's installed guitars: forwards to the
// engine it is attached to, or answers as an empty list, and fans the
// engine's guitar notices out to listeners that survive re-attachment.
#include "binding/CVProxySite.h"
#include "binding/IGuitar.h"
#include "ui/core/MulticastDelegate.h"

#include <atomic>

namespace Corvell {

class CVGuitar : public IGuitar, public Object {
public:
    explicit CVGuitar(CVProxySite* site);
    virtual ~CVGuitar();
    CVGuitar(const CVGuitar&) = delete;
    CVGuitar& operator=(const CVGuitar&) = delete;

    // Null detaches. Refuses (and stays as it is) when engine would lead
    // back to this proxy.
    bool Attach(IGuitar* engine);
    IGuitar* Engine() const { return m_engine; }
    // Changes with every attach, so notices of an earlier engine still
    // queued for the window are dropped.
    uint32_t Generation() const { return m_generation.load(); }

    // For the site, on the window's thread.
    void InvokeGuitarListeners();

    // IGuitar
    int GetGuitarCount() override;
    // The name always ends within the record, whatever the engine wrote.
    void GetGuitarInfo(int index, GuitarInfo* out) override;
    int GetCurrentGuitar() override;
    void SelectGuitar(int index) override;
    void AddGuitarListener(Delegate* l) override;
    bool RemoveGuitarListener(Delegate* l) override;

private:
    struct Receiver : EmbeddedCounting<Delegate> {
        CVGuitar* owner = nullptr;
        void Invoke() override;
    };

    IGuitar* m_engine = nullptr;
    CVProxySite* const m_site;
    Receiver m_receiver;
    // On the heap: a listener may delete the proxy's owner while it runs.
    Ref<MulticastDelegate> m_listeners;
    std::atomic<uint32_t> m_generation{0};
};

} // namespace Corvell
