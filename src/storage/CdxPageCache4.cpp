#include "CdxPageCache4.h"

#include <algorithm>

namespace orv {

CdxPageCache4::NodePtr CdxPageCache4::find(std::uint32_t offset) {
    auto it = m_slots.find(offset);
    if (it == m_slots.end()) return nullptr;
    it->second.used = true;
    return it->second.node;
}

void CdxPageCache4::insert(const NodePtr& node) {
    const std::uint32_t offset = node->offset();
    auto it = m_slots.find(offset);
    if (it != m_slots.end()) {
        it->second.node = node;
        it->second.used = true;
        return;
    }
    m_order.push_front(offset);
    m_slots.emplace(offset, Slot{node, m_order.begin(), false});
    if (node->dirty()) m_dirty.insert(offset);
}

void CdxPageCache4::erase(std::uint32_t offset) {
    auto it = m_slots.find(offset);
    if (it == m_slots.end()) return;
    m_order.erase(it->second.order);
    m_slots.erase(it);
    m_dirty.erase(offset);
}

void CdxPageCache4::clear() {
    m_slots.clear();
    m_order.clear();
    m_dirty.clear();
}

void CdxPageCache4::markDirty(const NodePtr& node) {
    node->setDirty(true);
    if (!contains(node->offset())) insert(node);
    m_dirty.insert(node->offset());
}

std::vector<CdxPageCache4::NodePtr> CdxPageCache4::takeDirty() {
    std::vector<std::uint32_t> offsets(m_dirty.begin(), m_dirty.end());
    std::sort(offsets.begin(), offsets.end());
    std::vector<NodePtr> result;
    result.reserve(offsets.size());
    for (std::uint32_t offset : offsets) {
        auto it = m_slots.find(offset);
        if (it == m_slots.end()) continue;
        it->second.node->setDirty(false);
        result.push_back(it->second.node);
    }
    m_dirty.clear();
    return result;
}

int CdxPageCache4::trim(const std::function<int(CdxNode4&)>& writeBack) {
    if (m_slots.size() <= m_capacity) return 0;
    // Two rounds over the nodes at most: a used node gets its second chance (mark cleared, sent
    // to the start, met again in the second round), a held one stays where it is.
    auto it = m_order.end();
    for (std::size_t seen = 0, limit = 2 * m_slots.size();
         m_slots.size() > m_capacity && it != m_order.begin() && seen < limit; ++seen) {
        --it;
        auto slot = m_slots.find(*it);
        if (slot->second.node.use_count() > 1) continue; // held by an operation
        if (slot->second.used) {
            slot->second.used = false;
            auto older = std::next(it);
            m_order.splice(m_order.begin(), m_order, it);
            it = older;
            continue;
        }
        if (slot->second.node->dirty()) {
            const int rc = writeBack(*slot->second.node);
            if (rc < 0) return rc;
            slot->second.node->setDirty(false);
            m_dirty.erase(*it);
        }
        m_slots.erase(slot);
        it = m_order.erase(it);
    }
    return 0;
}

} // namespace orv
