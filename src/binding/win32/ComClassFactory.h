#pragma once
#include <windows.h>
#include <unknwn.h>

#include "ui/core/Base.h"

namespace Corvell {

// Class factory of the view object. Counted in the module's object count
// through Base, once.
class ComClassFactory : public Base, public IClassFactory {
public:
    ComClassFactory() = default;
    ~ComClassFactory() override = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    volatile LONG m_refs = 0;
};

} // namespace Corvell
