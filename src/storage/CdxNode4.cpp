#include "CdxNode4.h"

#include "CdxLayout4.h"
#include "Result4.h"

#include <algorithm>
#include <cstring>

namespace orv {

using namespace cdx4;

namespace {

int trailingBlanks(const std::uint8_t* key, int length) {
    int t = 0;
    while (t < length && key[length - 1 - t] == kPad)
        ++t;
    return t;
}

// Leading bytes shared with the previous key, kept clear of both keys' dropped blanks so that
// dup + trail never exceeds the key length.
int sharedPrefix(const std::uint8_t* prev, int trailPrev, const std::uint8_t* key, int trail,
                 int length) {
    const int limit = length - std::max(trail, trailPrev);
    int d = 0;
    while (d < limit && prev[d] == key[d])
        ++d;
    return d;
}

std::uint64_t readUnsigned(const std::uint8_t* p, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

std::uint64_t shiftDown(std::uint64_t v, int bits) {
    return bits >= 64 ? 0 : v >> bits;
}

std::uint64_t lowMask(int bits) {
    return bits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
}

} // namespace

CdxNode4::LeafShape CdxNode4::shapeFor(int keyLength, std::uint32_t maxRecord) {
    int b = 0;
    while ((1 << b) <= keyLength)
        ++b;
    LeafShape s;
    s.dupBits = b;
    s.trailBits = b;
    s.entryBytes = b <= 8 ? 3 : (b <= 12 ? 4 : 5);
    s.recordBits = 8 * s.entryBytes - 2 * b;
    while (s.recordBits < 32 && maxRecord > lowMask(s.recordBits)) {
        s.entryBytes += 1;
        s.recordBits += 8;
    }
    s.recordMask = static_cast<std::uint32_t>(lowMask(std::min(s.recordBits, 32)));
    s.dupMask = static_cast<std::uint8_t>(lowMask(b));
    s.trailMask = static_cast<std::uint8_t>(lowMask(b));
    return s;
}

int CdxNode4::compare(const std::uint8_t* a, std::uint32_t recordA, const std::uint8_t* b,
                      std::uint32_t recordB, int length, bool useRecord) {
    if (length > 0) {
        const int c = std::memcmp(a, b, static_cast<std::size_t>(length));
        if (c != 0) return c < 0 ? -1 : 1;
    }
    if (!useRecord || recordA == recordB) return 0;
    return recordA < recordB ? -1 : 1;
}

int CdxNode4::storedBytes(const std::uint8_t* prev, const std::uint8_t* key, int keyLength) {
    const int trail = trailingBlanks(key, keyLength);
    if (!prev) return keyLength - trail;
    const int prevTrail = trailingBlanks(prev, keyLength);
    return keyLength - trail - sharedPrefix(prev, prevTrail, key, trail, keyLength);
}

CdxNode4::CdxNode4(std::uint32_t offset, int keyLength, std::uint16_t attributes)
    : m_offset(offset), m_keyLength(keyLength), m_attributes(attributes), m_left(kNone),
      m_right(kNone) {}

void CdxNode4::setAttributes(std::uint16_t attributes) {
    m_attributes = attributes;
    m_keyBytes = -1;
    m_maxRecord = -1;
}

bool CdxNode4::leaf() const {
    return (m_attributes & kAttrLeaf) != 0;
}
bool CdxNode4::root() const {
    return (m_attributes & kAttrRoot) != 0;
}

void CdxNode4::setRoot(bool root) {
    m_attributes =
        static_cast<std::uint16_t>(root ? (m_attributes | kAttrRoot) : (m_attributes & ~kAttrRoot));
}

const std::uint8_t* CdxNode4::key(int i) const {
    return m_keys.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(m_keyLength);
}

std::string CdxNode4::keyString(int i) const {
    return std::string(reinterpret_cast<const char*>(key(i)),
                       static_cast<std::size_t>(m_keyLength));
}

int CdxNode4::decode(const std::uint8_t* page, std::string* why) {
    auto fail = [why](const char* text) {
        if (why) *why = text;
        return e4index;
    };
    clear();
    m_attributes = get16(page + kNodeAttributes);
    const int n = get16(page + kNodeCount);
    m_left = get32(page + kNodeLeft);
    m_right = get32(page + kNodeRight);
    if (m_attributes > (kAttrRoot | kAttrLeaf)) return fail("bad node attributes");
    const auto L = static_cast<std::size_t>(m_keyLength);

    if (!leaf()) {
        if (n * (m_keyLength + 8) > kInteriorArea) return fail("key count does not fit the page");
        m_keys.resize(static_cast<std::size_t>(n) * L);
        m_records.resize(static_cast<std::size_t>(n));
        m_children.resize(static_cast<std::size_t>(n));
        const std::uint8_t* p = page + kInteriorEntries;
        for (int i = 0; i < n; ++i, p += m_keyLength + 8) {
            std::memcpy(m_keys.data() + static_cast<std::size_t>(i) * L, p, L);
            m_records[static_cast<std::size_t>(i)] = get32be(p + m_keyLength);
            m_children[static_cast<std::size_t>(i)] = get32be(p + m_keyLength + 4);
        }
        m_asDecoded = true;
        return 0;
    }

    LeafShape& s = m_storedShape;
    s.recordMask = get32(page + kLeafRecordMask);
    s.dupMask = page[kLeafDupMask];
    s.trailMask = page[kLeafTrailMask];
    s.recordBits = page[kLeafRecordBits];
    s.dupBits = page[kLeafDupBits];
    s.trailBits = page[kLeafTrailBits];
    s.entryBytes = page[kLeafEntryBytes];
    m_storedFree = get16(page + kLeafFree);
    if (s.entryBytes < 1 || s.entryBytes > 8 ||
        s.recordBits + s.dupBits + s.trailBits > 8 * s.entryBytes)
        return fail("bad leaf entry layout");
    if (n * s.entryBytes > kLeafArea) return fail("key count does not fit the page");

    m_keys.resize(static_cast<std::size_t>(n) * L);
    m_records.resize(static_cast<std::size_t>(n));
    const int area = kLeafEntries + n * s.entryBytes;
    int pos = kPage;
    for (int i = 0; i < n; ++i) {
        const std::uint64_t v = readUnsigned(page + kLeafEntries + i * s.entryBytes, s.entryBytes);
        const int dup = i == 0 ? 0 : static_cast<int>(shiftDown(v, s.recordBits) & s.dupMask);
        const int trail = static_cast<int>(shiftDown(v, s.recordBits + s.dupBits) & s.trailMask);
        const int stored = m_keyLength - dup - trail;
        if (stored < 0) return fail("negative key byte count in a leaf entry");
        pos -= stored;
        if (pos < area) return fail("leaf key bytes run into the entry area");
        std::uint8_t* k = m_keys.data() + static_cast<std::size_t>(i) * L;
        if (dup > 0) std::memcpy(k, k - L, static_cast<std::size_t>(dup));
        std::memcpy(k + dup, page + pos, static_cast<std::size_t>(stored));
        std::memset(k + dup + stored, kPad, static_cast<std::size_t>(trail));
        m_records[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(v & s.recordMask);
    }
    m_decodedUsed = n * s.entryBytes + (kPage - pos);
    m_asDecoded = true;
    return 0;
}

void CdxNode4::encode(std::uint8_t* page) const {
    std::memset(page, 0, kPage);
    const int n = count();
    put16(page + kNodeAttributes, m_attributes);
    put16(page + kNodeCount, static_cast<std::uint32_t>(n));
    put32(page + kNodeLeft, m_left);
    put32(page + kNodeRight, m_right);
    const int L = m_keyLength;

    if (!leaf()) {
        std::uint8_t* p = page + kInteriorEntries;
        for (int i = 0; i < n; ++i, p += L + 8) {
            std::memcpy(p, key(i), static_cast<std::size_t>(L));
            put32be(p + L, record(i));
            put32be(p + L + 4, child(i));
        }
        return;
    }

    std::uint32_t maxRecord = 0;
    for (std::uint32_t r : m_records)
        maxRecord = std::max(maxRecord, r);
    const LeafShape s = shapeFor(L, maxRecord);
    int pos = kPage;
    int prevTrail = 0;
    for (int i = 0; i < n; ++i) {
        const std::uint8_t* k = key(i);
        const int trail = trailingBlanks(k, L);
        const int dup = i == 0 ? 0 : sharedPrefix(key(i - 1), prevTrail, k, trail, L);
        const int stored = L - dup - trail;
        pos -= stored;
        std::memcpy(page + pos, k + dup, static_cast<std::size_t>(stored));
        const std::uint64_t v = record(i) | (static_cast<std::uint64_t>(dup) << s.recordBits) |
                                (static_cast<std::uint64_t>(trail) << (s.recordBits + s.dupBits));
        std::uint8_t* e = page + kLeafEntries + i * s.entryBytes;
        for (int b = 0; b < s.entryBytes; ++b)
            e[b] = static_cast<std::uint8_t>(v >> (8 * b));
        prevTrail = trail;
    }
    put16(page + kLeafFree,
          static_cast<std::uint32_t>(kLeafArea - n * s.entryBytes - (kPage - pos)));
    put32(page + kLeafRecordMask, s.recordMask);
    page[kLeafDupMask] = s.dupMask;
    page[kLeafTrailMask] = s.trailMask;
    page[kLeafRecordBits] = static_cast<std::uint8_t>(s.recordBits);
    page[kLeafDupBits] = static_cast<std::uint8_t>(s.dupBits);
    page[kLeafTrailBits] = static_cast<std::uint8_t>(s.trailBits);
    page[kLeafEntryBytes] = static_cast<std::uint8_t>(s.entryBytes);
}

void CdxNode4::insert(int i, const std::uint8_t* key, std::uint32_t record, std::uint32_t child) {
    m_asDecoded = false;
    if (leaf() && m_keyBytes >= 0) {
        const std::uint8_t* prev = i > 0 ? this->key(i - 1) : nullptr;
        m_keyBytes += storedBytes(prev, key, m_keyLength);
        if (i < count())
            m_keyBytes += storedBytes(key, this->key(i), m_keyLength) -
                          storedBytes(prev, this->key(i), m_keyLength);
    } else {
        m_keyBytes = -1;
    }
    if (m_maxRecord >= 0) m_maxRecord = std::max<std::int64_t>(m_maxRecord, record);
    const auto L = static_cast<std::size_t>(m_keyLength);
    const auto at = static_cast<std::size_t>(i);
    m_keys.insert(m_keys.begin() + static_cast<std::ptrdiff_t>(at * L), key, key + L);
    m_records.insert(m_records.begin() + i, record);
    if (!leaf()) m_children.insert(m_children.begin() + i, child);
}

void CdxNode4::erase(int from, int to) {
    m_asDecoded = false;
    if (from >= to) return;
    if (leaf() && m_keyBytes >= 0 && to == from + 1) {
        const std::uint8_t* prev = from > 0 ? key(from - 1) : nullptr;
        m_keyBytes -= storedBytes(prev, key(from), m_keyLength);
        if (to < count())
            m_keyBytes += storedBytes(prev, key(to), m_keyLength) -
                          storedBytes(key(from), key(to), m_keyLength);
    } else {
        m_keyBytes = -1;
    }
    for (int i = from; i < to && m_maxRecord >= 0; ++i)
        if (record(i) == m_maxRecord) m_maxRecord = -1;
    const auto L = static_cast<std::ptrdiff_t>(m_keyLength);
    m_keys.erase(m_keys.begin() + from * L, m_keys.begin() + to * L);
    m_records.erase(m_records.begin() + from, m_records.begin() + to);
    if (!leaf()) m_children.erase(m_children.begin() + from, m_children.begin() + to);
}

void CdxNode4::append(const CdxNode4& other, int from, int to) {
    m_asDecoded = false;
    m_keyBytes = -1;
    m_maxRecord = -1;
    if (from >= to) return;
    const auto L = static_cast<std::ptrdiff_t>(m_keyLength);
    m_keys.insert(m_keys.end(), other.m_keys.begin() + from * L, other.m_keys.begin() + to * L);
    m_records.insert(m_records.end(), other.m_records.begin() + from, other.m_records.begin() + to);
    if (!leaf() && !other.leaf())
        m_children.insert(m_children.end(), other.m_children.begin() + from,
                          other.m_children.begin() + to);
}

void CdxNode4::clear() {
    m_asDecoded = false;
    m_keyBytes = -1;
    m_maxRecord = -1;
    m_keys.clear();
    m_records.clear();
    m_children.clear();
}

int CdxNode4::lowerBound(const std::uint8_t* key, int length, std::uint32_t record,
                         bool useRecord) const {
    int lo = 0;
    int hi = count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (compare(this->key(mid), this->record(mid), key, record, length, useRecord) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void CdxNode4::measure(std::vector<int>& alone, std::vector<int>& following) const {
    const int n = count();
    const int L = m_keyLength;
    alone.resize(static_cast<std::size_t>(n));
    following.resize(static_cast<std::size_t>(n));
    int prevTrail = 0;
    for (int i = 0; i < n; ++i) {
        const int trail = trailingBlanks(key(i), L);
        const auto at = static_cast<std::size_t>(i);
        alone[at] = L - trail;
        following[at] =
            i == 0 ? alone[at] : L - trail - sharedPrefix(key(i - 1), prevTrail, key(i), trail, L);
        prevTrail = trail;
    }
}

int CdxNode4::usedBytes() const {
    const int n = count();
    if (!leaf()) return n * (m_keyLength + 8);
    const int L = m_keyLength;
    if (m_keyBytes < 0) {
        int bytes = 0;
        for (int i = 0; i < n; ++i)
            bytes += storedBytes(i > 0 ? key(i - 1) : nullptr, key(i), L);
        m_keyBytes = bytes;
    }
    if (m_maxRecord < 0) {
        std::uint32_t maxRecord = 0;
        for (std::uint32_t r : m_records)
            maxRecord = std::max(maxRecord, r);
        m_maxRecord = maxRecord;
    }
    return m_keyBytes + n * shapeFor(L, static_cast<std::uint32_t>(m_maxRecord)).entryBytes;
}

int CdxNode4::maxInteriorEntries() const {
    return kInteriorArea / (m_keyLength + 8);
}

int CdxNode4::capacityBytes() const {
    return leaf() ? kLeafArea : maxInteriorEntries() * (m_keyLength + 8);
}

bool CdxNode4::canTake(const CdxNode4& other) const {
    if (!leaf()) return count() + other.count() <= maxInteriorEntries();
    CdxNode4 both(*this);
    both.append(other, 0, other.count());
    return both.fits();
}

std::vector<int> CdxNode4::cuts(bool packLeft) const {
    if (leaf()) return leafCuts(packLeft);
    const int n = count();
    const int cap = std::max(1, maxInteriorEntries());
    const int parts = (n + cap - 1) / cap;
    std::vector<int> result;
    if (parts <= 1) return result;
    if (packLeft) {
        for (int c = cap; c < n; c += cap)
            result.push_back(c);
        return result;
    }
    const int base = n / parts;
    const int extra = n % parts;
    int at = 0;
    for (int p = 0; p + 1 < parts; ++p) {
        at += base + (p < extra ? 1 : 0);
        result.push_back(at);
    }
    return result;
}

std::vector<int> CdxNode4::leafCuts(bool packLeft) const {
    const int n = count();
    std::vector<int> alone;
    std::vector<int> following;
    measure(alone, following);
    auto width = [this](std::uint32_t maxRecord) {
        return shapeFor(m_keyLength, maxRecord).entryBytes;
    };
    auto at = [](int i) { return static_cast<std::size_t>(i); };

    std::vector<int> greedy;
    for (int a = 0; a < n;) {
        int b = a;
        int bytes = 0;
        std::uint32_t maxRecord = 0;
        while (b < n) {
            const int add = b == a ? alone[at(b)] : following[at(b)];
            const std::uint32_t m = std::max(maxRecord, record(b));
            if (b > a && (b - a + 1) * width(m) + bytes + add > kLeafArea) break;
            bytes += add;
            maxRecord = m;
            ++b;
        }
        if (b < n) greedy.push_back(b);
        a = b;
    }
    if (greedy.size() != 1 || packLeft) return greedy;

    // Two parts: take the cut that leaves the fuller part as empty as possible.
    std::vector<int> leftBytes(at(n + 1), 0);
    std::vector<std::uint32_t> leftMax(at(n + 1), 0);
    for (int s = 1; s <= n; ++s) {
        leftBytes[at(s)] = leftBytes[at(s - 1)] + (s == 1 ? alone[0] : following[at(s - 1)]);
        leftMax[at(s)] = std::max(leftMax[at(s - 1)], record(s - 1));
    }
    std::vector<int> tailBytes(at(n + 1), 0); // following[] summed over [s, n)
    std::vector<std::uint32_t> rightMax(at(n + 1), 0);
    for (int s = n - 1; s >= 0; --s) {
        tailBytes[at(s)] = tailBytes[at(s + 1)] + following[at(s)];
        rightMax[at(s)] = std::max(rightMax[at(s + 1)], record(s));
    }
    int best = greedy[0];
    int bestSize = kLeafArea + 1;
    for (int s = 1; s < n; ++s) {
        const int left = leftBytes[at(s)] + s * width(leftMax[at(s)]);
        const int right =
            tailBytes[at(s)] - following[at(s)] + alone[at(s)] + (n - s) * width(rightMax[at(s)]);
        const int worst = std::max(left, right);
        if (left <= kLeafArea && right <= kLeafArea && worst < bestSize) {
            bestSize = worst;
            best = s;
        }
    }
    return {best};
}

} // namespace orv
