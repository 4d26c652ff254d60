#include "ui/ControlAdapters.h"

#include "ui/Combo.h"
#include "ui/NumEditor.h"
#include "ui/Slider.h"
#include "ui/ToggleButton.h"

#include <algorithm>

namespace Corvell {

ControlAdapter::ControlAdapter(const SamplerBinding& binding, ControlSite* site, Pane* pane)
    : m_binding(binding), m_site(site), m_pane(pane) {}

ControlAdapter::~ControlAdapter() = default;

namespace {

// The listeners the adapters give their panes reach the adapter only
// while it lives: a pane's list that outlives it calls nobody.

// ---- slider: the slider talks to the site itself -------------------------------

class SliderAdapter : public ControlAdapter {
public:
    SliderAdapter(const SamplerBinding& b, ControlSite* site, Slider* slider) : ControlAdapter(b, site, slider) {
        slider->SetAdapter(site, b.id);
    }
    ~SliderAdapter() override {
        if (Slider* s = Get(); s && s->GetAdapter() == m_site)
            s->SetAdapter(nullptr, 0);
    }
    TooltipNotifier* CreateTooltip() override {
        Slider* s = Get();
        return s ? new RangeControlTooltip(s, m_binding.name, s, m_binding.unit) : nullptr;
    }
    void Update() override {
        if (Slider* s = Get())
            s->Refresh();
    }
    void Bind() override {
        if (Slider* s = Get())
            s->Bind();
    }

private:
    Slider* Get() const { return static_cast<Slider*>(m_pane.Get()); }
};

// ---- check box or switch ---------------------------------------------------------

class CheckAdapter : public ControlAdapter {
public:
    CheckAdapter(const SamplerBinding& b, ControlSite* site, ToggleButton* button)
        : ControlAdapter(b, site, button), m_inverted(b.extra != nullptr), m_click(new Click) {
        m_click->owner = this;
        button->AddClickListener(m_click);
    }
    ~CheckAdapter() override {
        m_click->owner = nullptr;
        if (ToggleButton* t = Get())
            t->RemoveClickListener(m_click.Get());
    }
    TooltipNotifier* CreateTooltip() override {
        ToggleButton* t = Get();
        return t ? new ToggleTooltip(t, m_binding.name) : nullptr;
    }
    void Update() override {
        if (ToggleButton* t = Get())
            t->SetOn(m_inverted ? m_site->GetValue(m_binding.id) == 0 : m_site->GetSwitch(m_binding.id));
    }

private:
    struct Click : CountedObject<Delegate1<ButtonListenerArgs>> {
        CheckAdapter* owner = nullptr;
        void Invoke(ButtonListenerArgs) override {
            if (owner)
                owner->OnClick();
        }
    };

    void OnClick() {
        ToggleButton* t = Get();
        if (!t)
            return;
        // The toggle never turns itself: what it shows next is what the
        // site holds after the write.
        const bool shown = t->IsOn();
        if (m_inverted)
            m_site->SetValue(m_binding.id, shown ? 1 : 0);
        else
            m_site->SetSwitch(m_binding.id, !shown);
        Update();
    }

    ToggleButton* Get() const { return static_cast<ToggleButton*>(m_pane.Get()); }

    const bool m_inverted;
    Ref<Click> m_click;
};

// ---- combo: the item index is the value -------------------------------------------

class ComboAdapter : public ControlAdapter {
public:
    ComboAdapter(const SamplerBinding& b, ControlSite* site, Combo* combo)
        : ControlAdapter(b, site, combo), m_choice(new Choice) {
        m_choice->owner = this;
        if (b.extra)
            combo->AddItems(static_cast<const char*>(b.extra));
        combo->AddSelectionListener(m_choice);
    }
    ~ComboAdapter() override {
        m_choice->owner = nullptr;
        if (Combo* c = Get())
            c->RemoveSelectionListener(m_choice.Get());
    }
    TooltipNotifier* CreateTooltip() override {
        Combo* c = Get();
        return c ? new ComboTooltip(c, m_binding.name) : nullptr;
    }
    void Update() override {
        if (Combo* c = Get())
            c->Select(m_site->GetValue(m_binding.id));
    }

private:
    struct Choice : CountedObject<Delegate1<int>> {
        ComboAdapter* owner = nullptr;
        void Invoke(int index) override {
            if (owner)
                owner->OnChoice(index);
        }
    };

    void OnChoice(int index) {
        m_site->BeginEdit(m_binding.id);
        m_site->SetValue(m_binding.id, index);
        m_site->EndEdit(m_binding.id);
        Update();
    }

    Combo* Get() const { return static_cast<Combo*>(m_pane.Get()); }

    Ref<Choice> m_choice;
};

// ---- number editor ------------------------------------------------------------------
// Every step the user makes is written as one edit, as a slider's drag is:
// an editor that only showed its new value would claim a change the
// engine never heard of.

class NumberAdapter : public ControlAdapter {
public:
    NumberAdapter(const SamplerBinding& b, ControlSite* site, NumEditor* editor)
        : ControlAdapter(b, site, editor), m_editor(editor), m_edit(new Edit) {
        m_edit->owner = this;
        editor->AddListener(m_edit.Get());
    }
    ~NumberAdapter() override {
        m_edit->owner = nullptr;
        if (m_editing)
            m_site->EndEdit(m_binding.id);
        if (m_pane.IsAlive())
            m_editor->RemoveListener(m_edit.Get());
    }
    TooltipNotifier* CreateTooltip() override {
        return m_pane.IsAlive() ? new RangeControlTooltip(m_editor, m_binding.name, m_editor, m_binding.unit)
                                : nullptr;
    }
    void Update() override {
        if (m_pane.IsAlive())
            m_editor->SetValue(m_site->GetValue(m_binding.id));
    }
    void Bind() override {
        if (!m_pane.IsAlive())
            return;
        ControlInfo info;
        m_site->GetInfo(m_binding.id, &info);
        m_editor->SetRange(info.minimum, info.maximum);
        m_editor->SetDefault(info.defaultValue);
        Update();
    }

private:
    struct Edit : CountedObject<RangeControlListener> {
        NumberAdapter* owner = nullptr;
        void Begin(RangeControl*) override {
            if (owner)
                owner->OnBegin();
        }
        void Changed(RangeControl*) override {
            if (owner)
                owner->OnChanged();
        }
        void End(RangeControl*) override {
            if (owner)
                owner->OnEnd();
        }
    };

    void OnBegin() {
        if (m_editing)
            return;
        m_editing = true;
        m_site->BeginEdit(m_binding.id);
    }
    void OnChanged() {
        if (!m_pane.IsAlive())
            return;
        // A change without a Begin is still one whole edit.
        const bool open = m_editing;
        if (!open)
            OnBegin();
        m_site->SetValue(m_binding.id, m_editor->GetValue());
        if (!open)
            OnEnd();
    }
    void OnEnd() {
        if (!m_editing)
            return;
        m_editing = false;
        m_site->EndEdit(m_binding.id);
        Update();
    }

    NumEditor* const m_editor; // the pane, seen as an editor
    Ref<Edit> m_edit;
    bool m_editing = false;
};

} // namespace

// ---- the host ---------------------------------------------------------------------

ControlAdapterHost::~ControlAdapterHost() { Clear(); }

void ControlAdapterHost::Clear() {
    ++m_generation;
    std::vector<std::unique_ptr<ControlAdapter>> gone;
    gone.swap(m_adapters);
    gone.clear();
}

bool ControlAdapterHost::AddBinding(Pane* root, const SamplerBinding& b) {
    if (!root || b.paneId == -1)
        return false;
    Pane* pane = root->FindById(b.paneId);
    if (!pane)
        return false;
    // The id may name any pane of the tree: only a pane of the kind the
    // record expects is bound.
    std::unique_ptr<ControlAdapter> adapter;
    switch (b.kind) {
    case kSliderAdapter:
        if (auto* s = dynamic_cast<Slider*>(pane))
            adapter.reset(new SliderAdapter(b, m_site, s));
        break;
    case kCheckAdapter:
        if (auto* t = dynamic_cast<ToggleButton*>(pane))
            adapter.reset(new CheckAdapter(b, m_site, t));
        break;
    case kComboAdapter:
        if (auto* c = dynamic_cast<Combo*>(pane))
            adapter.reset(new ComboAdapter(b, m_site, c));
        break;
    case kNumberAdapter:
    case kNumberAdapter2:
        if (auto* e = dynamic_cast<NumEditor*>(pane))
            adapter.reset(new NumberAdapter(b, m_site, e));
        break;
    default:
        break;
    }
    if (!adapter)
        return false;
    adapter->Bind();
    m_adapters.push_back(std::move(adapter));
    return true;
}

void ControlAdapterHost::AddBindings(Pane* root, int32_t count, const SamplerBinding* bindings) {
    for (int32_t i = 0; bindings && i < count; ++i)
        AddBinding(root, bindings[i]);
    std::stable_sort(m_adapters.begin(), m_adapters.end(),
                     [](const std::unique_ptr<ControlAdapter>& a, const std::unique_ptr<ControlAdapter>& b) {
                         return a->Id() < b->Id();
                     });
    const uint32_t generation = m_generation;
    for (size_t i = 0; i < m_adapters.size() && generation == m_generation; ++i)
        m_adapters[i]->Update();
}

void ControlAdapterHost::OnParameterChanged(int32_t id) {
    const uint32_t generation = m_generation;
    auto it = std::lower_bound(m_adapters.begin(), m_adapters.end(), id,
                               [](const std::unique_ptr<ControlAdapter>& a, int32_t v) { return a->Id() < v; });
    for (size_t i = size_t(it - m_adapters.begin()); i < m_adapters.size() && m_adapters[i]->Id() == id; ++i) {
        m_adapters[i]->Update();
        if (generation != m_generation)
            return;
    }
}

void ControlAdapterHost::OnReset() {
    const uint32_t generation = m_generation;
    for (size_t i = 0; i < m_adapters.size(); ++i) {
        m_adapters[i]->Bind();
        if (generation != m_generation)
            return;
    }
}

void ControlAdapterHost::CollectTooltips(TooltipHandler& sink) {
    for (const auto& a : m_adapters)
        if (TooltipNotifier* t = a->CreateTooltip())
            sink.AddTooltip(t);
}

} // namespace Corvell
