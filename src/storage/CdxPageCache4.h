#pragma once
// Decoded nodes of one index file, by page offset. Out goes a node not used since the eviction
// sweep last passed it (second chance): a hit only sets the node's mark, which keeps lookups,
// the most frequent operation of a seek, cheap.
//
// A node that somebody besides the cache still holds (a shared_ptr of an operation in progress)
// is never evicted, so one page always has at most one live node object. Changed nodes are
// written through a callback before they leave.

#include "CdxNode4.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orv {

class CdxPageCache4 {
public:
    using NodePtr = std::shared_ptr<CdxNode4>;

    explicit CdxPageCache4(std::size_t capacity) : m_capacity(capacity) {}

    // The cached node of this page (marked used), or null.
    NodePtr find(std::uint32_t offset);
    bool contains(std::uint32_t offset) const { return m_slots.count(offset) != 0; }
    void insert(const NodePtr& node);
    // Forgets the page, changed or not.
    void erase(std::uint32_t offset);
    void clear();
    void markDirty(const NodePtr& node);
    // The changed nodes in offset order; their marks are cleared.
    std::vector<NodePtr> takeDirty();
    // Evicts until at most `capacity` nodes remain (or only held ones are left), handing
    // changed ones to writeBack first. Returns 0 or the first error of writeBack.
    int trim(const std::function<int(CdxNode4&)>& writeBack);
    std::size_t size() const { return m_slots.size(); }

private:
    struct Slot {
        NodePtr node;
        std::list<std::uint32_t>::iterator order;
        bool used = false;
    };
    std::size_t m_capacity;
    std::unordered_map<std::uint32_t, Slot> m_slots;
    std::list<std::uint32_t> m_order; // the sweep's order: next candidate last
    std::unordered_set<std::uint32_t> m_dirty;
};

} // namespace orv
