#pragma once
// Entries of a popup menu, as the root pane shows them.
#include "ui/core/String.h"

#include <cstddef>
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
    MenuItem& Item(int32_t i) { return m_items[static_cast<size_t>(i)]; }
    bool IsIndex(int32_t i) const { return i >= 0 && i < GetCount(); }
    // Returns the new item's index.
    int32_t Add(const String& text, int32_t id = -1, uint32_t flags = 0) {
        m_items.push_back({text, id, flags});
        return GetCount() - 1;
    }
    int32_t Add(const char* text, int32_t id = -1, uint32_t flags = 0) { return Add(String(text), id, flags); }
    void AddSeparator() { m_items.push_back({String(), -1, MenuItem::Separator}); }
    // False for an index out of range.
    bool Remove(int32_t i) {
        if (!IsIndex(i))
            return false;
        m_items.erase(m_items.begin() + i);
        return true;
    }
    void Clear() { m_items.clear(); }

private:
    std::vector<MenuItem> m_items;
};

// The text a native menu shows for an item: the item's own text, never read
// as markup. Ampersands are doubled (a single one would underline the next
// character and vanish) and tabs become spaces (a tab would start a
// shortcut column). Names of banks, styles and guitars come from the user
// and the engine, so they must show as they are.
String MenuDisplayText(const String& text);

} // namespace Corvell
