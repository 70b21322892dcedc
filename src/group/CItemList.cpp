#include "group/CItemList.h"

namespace orv {

int CItemList::find(std::string_view name) const {
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].name() == name) return static_cast<int>(i);
    return -1;
}

void CItemList::append(const CRoom& item) {
    CRoom copy;
    copy.copyFrom(item);
    m_items.push_back(std::move(copy));
    m_rects.resize(m_items.size());
}

bool CItemList::removeAt(int index) {
    if (!isValidIndex(index)) return false;
    const auto at = static_cast<std::ptrdiff_t>(index);
    m_items.erase(m_items.begin() + at);
    m_rects.erase(m_rects.begin() + at);
    return true;
}

void CItemList::assign(std::vector<CRoom> items) {
    m_items = std::move(items);
    m_rects.assign(m_items.size(), CRect{});
}

void CItemList::clear() {
    m_items.clear();
    m_rects.clear();
}

std::vector<std::string> CItemList::namesOf(const std::set<int>& selected) const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (selected.empty() || selected.count(static_cast<int>(i)) != 0)
            names.push_back(m_items[i].name());
    return names;
}

} // namespace orv
