#pragma once
// One decoded node (page) of a .cdx tree: its header fields and its entries with full keys.
// Leaves are decoded from and encoded to the compressed form; interior nodes hold their keys
// as they are. The page layout is described in CdxLayout4.h.

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

class CdxNode4 {
public:
    // Entry widths of a leaf (bytes 14-23).
    struct LeafShape {
        int recordBits = 0;
        int dupBits = 0;
        int trailBits = 0;
        int entryBytes = 0;
        std::uint32_t recordMask = 0;
        std::uint8_t dupMask = 0;
        std::uint8_t trailMask = 0;
    };

    // The widths we write for a leaf of this key length whose greatest record is maxRecord.
    static LeafShape shapeFor(int keyLength, std::uint32_t maxRecord);

    // Orders (key, record) pairs: unsigned bytes over `length`, then the record when useRecord.
    static int compare(const std::uint8_t* a, std::uint32_t recordA, const std::uint8_t* b,
                       std::uint32_t recordB, int length, bool useRecord);

    // Key bytes a leaf stores for `key` after `prev` (null: as the first entry of the node).
    static int storedBytes(const std::uint8_t* prev, const std::uint8_t* key, int keyLength);

    CdxNode4(std::uint32_t offset, int keyLength, std::uint16_t attributes);

    // Fills this node from a 512-byte page. Returns 0, or e4index with a reason in *why.
    int decode(const std::uint8_t* page, std::string* why);
    // Writes the node into a 512-byte page. Precondition: fits().
    void encode(std::uint8_t* page) const;

    std::uint32_t offset() const { return m_offset; }
    int keyLength() const { return m_keyLength; }
    std::uint16_t attributes() const { return m_attributes; }
    void setAttributes(std::uint16_t attributes);
    bool leaf() const;
    bool root() const;
    void setRoot(bool root);
    std::uint32_t left() const { return m_left; }
    std::uint32_t right() const { return m_right; }
    void setLeft(std::uint32_t offset) { m_left = offset; }
    void setRight(std::uint32_t offset) { m_right = offset; }

    int count() const { return static_cast<int>(m_records.size()); }
    const std::uint8_t* key(int i) const;
    std::string keyString(int i) const;
    std::uint32_t record(int i) const { return m_records[static_cast<std::size_t>(i)]; }
    std::uint32_t child(int i) const { return m_children[static_cast<std::size_t>(i)]; }

    void insert(int i, const std::uint8_t* key, std::uint32_t record, std::uint32_t child);
    void erase(int from, int to);
    // Appends entries [from, to) of another node of the same kind and key length.
    void append(const CdxNode4& other, int from, int to);
    void clear();

    // First entry that is not less than the target; count() when there is none.
    int lowerBound(const std::uint8_t* key, int length, std::uint32_t record, bool useRecord) const;

    // Bytes the entries take: leaf K * N + stored key bytes, interior N * (L + 8).
    int usedBytes() const;
    int capacityBytes() const;
    int maxInteriorEntries() const;
    bool fits() const { return usedBytes() <= capacityBytes(); }
    // Whether this node and all entries of `other` fit in one page.
    bool canTake(const CdxNode4& other) const;
    // Where to cut an overflowing node so that every part fits: the start of every part after
    // the first. packLeft fills the first parts completely (for appends at the right end),
    // otherwise the parts are balanced.
    std::vector<int> cuts(bool packLeft) const;

    bool dirty() const { return m_dirty; }
    void setDirty(bool dirty) { m_dirty = dirty; }

    // What the page said about itself when decoded (leaves; for checking). Meaningful while
    // asDecoded(): no entry has changed since.
    bool asDecoded() const { return m_asDecoded; }
    int storedFree() const { return m_storedFree; }
    int decodedUsed() const { return m_decodedUsed; }
    const LeafShape& storedShape() const { return m_storedShape; }

private:
    // Stored key bytes per entry: as the first entry of a node, and after its predecessor.
    void measure(std::vector<int>& alone, std::vector<int>& following) const;
    std::vector<int> leafCuts(bool packLeft) const;

    std::uint32_t m_offset;
    int m_keyLength;
    std::uint16_t m_attributes;
    std::uint32_t m_left;
    std::uint32_t m_right;
    std::vector<std::uint8_t> m_keys;
    std::vector<std::uint32_t> m_records;
    std::vector<std::uint32_t> m_children;
    bool m_dirty = false;
    bool m_asDecoded = false;
    // Leaf size bookkeeping, kept up to date by single-entry changes; -1 when unknown.
    mutable int m_keyBytes = -1;
    mutable std::int64_t m_maxRecord = -1;
    int m_storedFree = -1;
    int m_decodedUsed = -1;
    LeafShape m_storedShape;
};

} // namespace orv
