#include "ui/PaneFactory.h"

#include "shared/Graphics/Palette.h"
#include "ui/ALabel.h"
#include "ui/CheckMark.h"
#include "ui/Combo.h"
#include "ui/ControlPanel.h"
#include "ui/HSlider.h"
#include "ui/HSlider3.h"
#include "ui/NumEditor.h"
#include "ui/SwitchButton.h"
#include "ui/VSlider.h"

namespace Corvell {

Pane* PaneSet::Adopt(std::unique_ptr<Pane> p) {
    m_panes.push_back(std::move(p));
    return m_panes.back().get();
}

void PaneSet::Clear() {
    while (!m_panes.empty()) {
        std::unique_ptr<Pane> last = std::move(m_panes.back());
        m_panes.pop_back();
        last.reset();
    }
}

namespace {

constexpr int32_t kSliderThumbFrames = 2;
constexpr int32_t kLabelTextKind = 2;
constexpr float kVerticalLabelAngle = 90.0f;

std::unique_ptr<Pane> MakeLabel(const ControlDescriptor& d) {
    std::unique_ptr<ALabel> label(new ALabel);
    if (const auto* rec = static_cast<const LabelRecord*>(d.extra)) {
        if (rec->kind == kLabelTextKind && rec->text)
            label->SetText(rec->text);
        label->SetFormat(uint32_t(rec->format));
    }
    label->SetTextColor(GetColor(1));
    label->SetShadowColor(MakeColor(0, 0, 0));
    if (d.kind == kVerticalLabelKind)
        label->SetAngle(kVerticalLabelAngle);
    return label;
}

std::unique_ptr<Pane> MakePane(const ControlDescriptor& d) {
    switch (d.kind) {
    case kVerticalSliderKind:
        return std::unique_ptr<Pane>(new VSlider("slider-thumb-sm-v.png", kSliderThumbFrames));
    case kHorizontalSliderKind:
        return std::unique_ptr<Pane>(new HSlider("slider-thumb-sm-h.png", kSliderThumbFrames));
    case kWideSliderKind:
        // Drawn with lines: a thumb image has no place in it.
        return std::unique_ptr<Pane>(new HSlider3);
    case kCheckBoxKind:
        return std::unique_ptr<Pane>(new CheckMark);
    case kSwitchKind:
        return std::unique_ptr<Pane>(new SwitchButton);
    case kComboKind: {
        std::unique_ptr<BCombo> combo(new BCombo);
        combo->SetTriangleImage(GetImage("combo-triangle.png"));
        return combo;
    }
    case kNumberKind:
    case kNumberKind2:
        return std::unique_ptr<Pane>(new NumEditor);
    case kLabelKind:
    case kVerticalLabelKind:
        return MakeLabel(d);
    case kGroupKind: {
        const auto* g = static_cast<const GroupRecord*>(d.extra);
        if (!g || g->kind != 0)
            return nullptr;
        return std::unique_ptr<Pane>(new ControlPanel(g->image, g->mode));
    }
    default:
        return nullptr;
    }
}

} // namespace

Pane* BuildPane(Pane* parent, const ControlDescriptor& d, PaneSet& owner) {
    std::unique_ptr<Pane> made = MakePane(d);
    if (!made)
        return nullptr;
    Pane* p = owner.Adopt(std::move(made));
    p->SetId(d.id);
    p->Create(parent, Rect{d.x, d.y, d.width, d.height});
    if (d.kind == kGroupKind) {
        const auto* g = static_cast<const GroupRecord*>(d.extra);
        for (int32_t i = 0; g->children && i < g->count; ++i)
            BuildPane(p, g->children[i], owner);
    }
    return p;
}

} // namespace Corvell
