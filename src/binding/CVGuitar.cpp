#include "binding/CVGuitar.h"

#include "binding/ProxyChain.h"

namespace Corvell {

using GuitarChain = ProxyChain<CVGuitar, IGuitar>;

CVGuitar::CVGuitar(CVProxySite* site) : m_site(site), m_listeners(new MulticastDelegate) {
    m_receiver.owner = this;
    GuitarChain::Enter(this);
}

CVGuitar::~CVGuitar() {
    GuitarChain::Leave(this);
    if (m_engine)
        m_engine->RemoveGuitarListener(&m_receiver);
}

bool CVGuitar::Attach(IGuitar* engine) {
    if (GuitarChain::LeadsBack(this, engine, [](const CVGuitar* p) -> const IGuitar* { return p->m_engine; }))
        return false;
    if (m_engine)
        m_engine->RemoveGuitarListener(&m_receiver);
    m_generation.fetch_add(1);
    m_engine = engine;
    if (m_engine)
        m_engine->AddGuitarListener(&m_receiver);
    // Whoever shows the list reads it again from the new engine (or none).
    m_site->OnGuitarChanged();
    return true;
}

void CVGuitar::Receiver::Invoke() { owner->m_site->OnGuitarChanged(); }

void CVGuitar::InvokeGuitarListeners() {
    if (!m_listeners->IsEmpty())
        m_listeners->Invoke();
}

int CVGuitar::GetGuitarCount() { return m_engine ? m_engine->GetGuitarCount() : 0; }

void CVGuitar::GetGuitarInfo(int index, GuitarInfo* out) {
    if (!out)
        return;
    out->flags = 0;
    out->name[0] = '\0';
    if (m_engine)
        m_engine->GetGuitarInfo(index, out);
    out->name[sizeof out->name - 1] = '\0';
}

int CVGuitar::GetCurrentGuitar() { return m_engine ? m_engine->GetCurrentGuitar() : 0; }

void CVGuitar::SelectGuitar(int index) {
    if (m_engine)
        m_engine->SelectGuitar(index);
}

void CVGuitar::AddGuitarListener(Delegate* l) { m_listeners->Add(l); }

bool CVGuitar::RemoveGuitarListener(Delegate* l) { return m_listeners->Remove(l); }

} // namespace Corvell
