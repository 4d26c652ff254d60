#pragma once
// Controls bound by table to a site's numbered settings. One record per
// control names its pane, the setting, the tooltip's name and unit, and
// how the pane is bound; a host walks the table once and keeps an adapter
// per bound pane.
#include "ui/ControlSite.h"
#include "ui/Pane.h"
#include "ui/Tooltip.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Corvell {

class Combo;
class NumEditor;
class Slider;
class ToggleButton;

enum AdapterKind : int32_t {
    kSliderAdapter = 0,
    kCheckAdapter = 100,
    kComboAdapter = 200,
    kNumberAdapter = 300,
    kNumberAdapter2 = 500,
};

struct SamplerBinding {
    int32_t paneId;
    int32_t id; // the setting
    const char* name;
    RangeControlTooltip::Unit* unit; // shared, or null
    int32_t kind;
    // Combo: its items, NUL-separated and ended by an empty one. Check box:
    // non-null binds the setting's value inverted (0 shows checked).
    const void* extra;
};

// Told by a site about changes of its settings, on the window's thread.
class SamplerUI {
public:
    virtual void OnParameterChanged(int32_t id) = 0;
    virtual void OnReset() = 0;

protected:
    ~SamplerUI() = default;
};

// One bound pane. It watches its pane without owning it and does nothing
// once the pane is gone.
class ControlAdapter {
public:
    ControlAdapter(const SamplerBinding& binding, ControlSite* site, Pane* pane);
    virtual ~ControlAdapter();
    ControlAdapter(const ControlAdapter&) = delete;
    ControlAdapter& operator=(const ControlAdapter&) = delete;

    // A tooltip for the pane, owned by the caller; null once the pane is gone.
    virtual TooltipNotifier* CreateTooltip() = 0;
    // Shows the site's value.
    virtual void Update() = 0;
    // Takes range and default from the site, then its value.
    virtual void Bind() { Update(); }

    const SamplerBinding& Binding() const { return m_binding; }
    int32_t Id() const { return m_binding.id; }
    Pane* GetPane() const { return m_pane.Get(); }

protected:
    const SamplerBinding& m_binding;
    ControlSite* const m_site;
    PaneGuard m_pane;
};

// Owns the adapters of its bindings and keeps them showing what the site
// holds: a changed setting updates every adapter bound to it, a reset
// reads every range, default and value again (a site attached late or
// reset to other ranges must not leave its controls at 0..0).
class ControlAdapterHost : public SamplerUI {
public:
    explicit ControlAdapterHost(ControlSite* site) : m_site(site) {}
    virtual ~ControlAdapterHost();
    ControlAdapterHost(const ControlAdapterHost&) = delete;
    ControlAdapterHost& operator=(const ControlAdapterHost&) = delete;

    // Each adapter's tooltip, in the adapters' order; the sink owns them.
    void CollectTooltips(TooltipHandler& sink);
    void OnParameterChanged(int32_t id) override;
    void OnReset() override;
    // Binds one record against the descendants of root; false when it binds
    // nothing (no such pane, id -1, or a pane of the wrong kind).
    bool AddBinding(Pane* root, const SamplerBinding& binding);
    // Binds the records in order, sorts the adapters by setting and shows
    // every value. The records must outlive the host.
    void AddBindings(Pane* root, int32_t count, const SamplerBinding* bindings);
    void Clear();

    size_t Count() const { return m_adapters.size(); }
    ControlAdapter* Adapter(size_t i) const { return i < m_adapters.size() ? m_adapters[i].get() : nullptr; }

private:
    ControlSite* const m_site;
    std::vector<std::unique_ptr<ControlAdapter>> m_adapters;
    // Bumped by Clear: a walk over the adapters stops when it changes.
    uint32_t m_generation = 0;
};

} // namespace Corvell
