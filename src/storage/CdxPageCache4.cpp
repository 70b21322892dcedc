#include "CdxPageCache4.h"

#include <algorithm>

namespace orv {

CdxPageCache4::NodePtr CdxPageCache4::find(std::uint32_t offset) {
    auto it = m_slots.find(offset);
    if (it == m_slots.end()) return nullptr;
    m_use.splice(m_use.begin(), m_use, it->second.use);
    return it->second.node;
}

void CdxPageCache4::insert(const NodePtr& node) {
    const std::uint32_t offset = node->offset();
    auto it = m_slots.find(offset);
    if (it != m_slots.end()) {
        it->second.node = node;
        m_use.splice(m_use.begin(), m_use, it->second.use);
        return;
    }
    m_use.push_front(offset);
    m_slots.emplace(offset, Slot{node, m_use.begin()});
    if (node->dirty()) m_dirty.insert(offset);
}

void CdxPageCache4::erase(std::uint32_t offset) {
    auto it = m_slots.find(offset);
    if (it == m_slots.end()) return;
    m_use.erase(it->second.use);
    m_slots.erase(it);
    m_dirty.erase(offset);
}

void CdxPageCache4::clear() {
    m_slots.clear();
    m_use.clear();
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
    auto it = m_use.end();
    while (m_slots.size() > m_capacity && it != m_use.begin()) {
        --it;
        auto slot = m_slots.find(*it);
        if (slot->second.node.use_count() > 1) continue; // held by an operation
        if (slot->second.node->dirty()) {
            const int rc = writeBack(*slot->second.node);
            if (rc < 0) return rc;
            slot->second.node->setDirty(false);
            m_dirty.erase(*it);
        }
        m_slots.erase(slot);
        it = m_use.erase(it);
    }
    return 0;
}

} // namespace orv
