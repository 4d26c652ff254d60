#pragma once
// Entries of a popup menu, as the root pane shows them.
#include "ui/core/String.h"

#include <cstdint>
#include <vector>

namespace Corvell {

struct MenuItem {
    enum Flags : uint32_t { Checked = 0x1, Separator = 0x2, Disabled = 0x4 };
    String text;
    int32_t id = -1;
    uint32_t flags = 0;
};

class MenuItemList {
public:
    virtual ~MenuItemList() = default;
    virtual int32_t GetCount() const = 0;
    virtual const MenuItem& GetItem(int32_t i) const = 0;
};

class MenuItemListImpl : public MenuItemList {
public:
    int32_t GetCount() const override { return static_cast<int32_t>(m_items.size()); }
    const MenuItem& GetItem(int32_t i) const override { return m_items[static_cast<size_t>(i)]; }
    void Add(const char* text, int32_t id = -1, uint32_t flags = 0) { m_items.push_back({String(text), id, flags}); }
    void AddSeparator() { m_items.push_back({String(), -1, MenuItem::Separator}); }
    void Clear() { m_items.clear(); }

private:
    std::vector<MenuItem> m_items;
};

} // namespace Corvell
