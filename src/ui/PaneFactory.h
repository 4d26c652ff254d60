#pragma once
// Panels described by constant tables: one record per control, one
// factory that turns a record into a pane.
#include "ui/Pane.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Corvell {

enum ControlKind : int32_t {
    kVerticalSliderKind = 0,
    kHorizontalSliderKind = 1,
    kWideSliderKind = 2,
    kCheckBoxKind = 100,
    kSwitchKind = 101,
    kComboKind = 200,
    kNumberKind = 300,
    kNumberKind2 = 500,
    kLabelKind = 400,
    kVerticalLabelKind = 401,
    kGroupKind = 1000,
};

// extra of a label: kind 2 shows text, any other kind leaves it empty.
struct LabelRecord {
    int32_t kind;
    const char* text;
    int32_t format; // DrawText layout bits, used as they are
};

struct ControlDescriptor {
    int32_t id; // -1 for none
    int32_t kind;
    int32_t x, y, width, height;
    const void* extra; // LabelRecord, GroupRecord or null
};

// extra of a group: its children are built inside it, in its coordinates.
struct GroupRecord {
    int32_t kind; // 0
    const ControlDescriptor* children;
    int32_t count;
    const char* image;
    int32_t mode; // ControlPanel image mode
};

// The panes a factory made, deleted last-made first (children before the
// groups that hold them).
class PaneSet {
public:
    PaneSet() = default;
    PaneSet(const PaneSet&) = delete;
    PaneSet& operator=(const PaneSet&) = delete;
    ~PaneSet() { Clear(); }

    Pane* Adopt(std::unique_ptr<Pane> p);
    void Clear();
    size_t Count() const { return m_panes.size(); }

private:
    std::vector<std::unique_ptr<Pane>> m_panes;
};

// Makes the pane d describes inside parent at d's rectangle, with d's id,
// owned by `owner`; a group's children too. Null for an unknown kind or a
// group whose record is missing or malformed.
Pane* BuildPane(Pane* parent, const ControlDescriptor& d, PaneSet& owner);

} // namespace Corvell
