#pragma once
// The view object the engine creates: a property page holding the main
// editor pane, and the host site through which the view reaches the engine.
#include "binding/ICorvellHost.h"
#include "binding/win32/ComPropertyPage.h"

namespace Corvell {

class RorezoZavu;

class CVRorezoZavu : public ComPropertyPage, public ICorvellHost {
public:
    CVRorezoZavu();
    ~CVRorezoZavu() override;

    void* GetInterface(const char* name) override;
    RorezoZavu* View() const { return m_view; }

    // Pages alive in this module (the image cache is emptied after the last).
    static LONG LivePages();

protected:
    bool ApplyObjects(ULONG count, IUnknown** objects) override;
    void FillPageInfo(PROPPAGEINFO& info) override;
    void OnPageWindowCreated(int32_t width, int32_t height) override;

private:
    RorezoZavu* m_view = nullptr;
    ICorvellHost* m_host = nullptr; // borrowed
};

} // namespace Corvell
