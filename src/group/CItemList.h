#pragma once
// The group document's items, in group file order, each with the hit rectangle the main view
// last drew it in. Indices are what today's list and the displays refer to, so the order is
// never changed except by removing an item; there is no sorting.

#include "group/CRect.h"
#include "tables/CRoom.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class CItemList {
public:
    int count() const { return static_cast<int>(m_items.size()); }
    bool isValidIndex(int index) const { return index >= 0 && index < count(); }
    // Preconditions: isValidIndex(index).
    const CRoom& at(int index) const { return m_items[static_cast<std::size_t>(index)]; }
    CRoom& at(int index) { return m_items[static_cast<std::size_t>(index)]; }
    const CRect& rectAt(int index) const { return m_rects[static_cast<std::size_t>(index)]; }
    void setRect(int index, const CRect& rect) { m_rects[static_cast<std::size_t>(index)] = rect; }

    // The index of the first item whose name is exactly `name` (case-sensitive), or -1.
    int find(std::string_view name) const;

    // Adds a copy of `item` (its stored values and integer working values) at the end, with an
    // empty rectangle.
    void append(const CRoom& item);
    // Removes the item at `index`: later items move up one place with everything they hold,
    // rectangles included. False for an index outside the list.
    bool removeAt(int index);

    // Replaces the list with the items just read from the group file; rectangles start empty.
    void assign(std::vector<CRoom> items);
    void clear();
    const std::vector<CRoom>& items() const { return m_items; }

    // The names of the items at the selected indices, in item order; an empty selection means
    // every item. Indices outside the list are skipped.
    std::vector<std::string> namesOf(const std::set<int>& selected) const;

private:
    std::vector<CRoom> m_items;
    std::vector<CRect> m_rects; // always as long as m_items
};

} // namespace orv
