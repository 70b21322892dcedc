#pragma once
// The moves the record classes share, written once: each runs the engine's move on the table
// and then either reads the record into the class's image or tells the class that nothing was
// read. A record class derives from CRecordMoves<itself>, keeps its open table in m_data and
// gives the base two private members (the base is its friend):
//
//   void readImage();  // the current record into the image
//   void missed();     // a move that read nothing: clear the image, or keep it
//
// and, for compress(), its m_code, m_tableName, openTable(), close(), kTagName and kUniqueTag.

#include "storage/Data4.h"
#include "tables/CTableOps.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace orv {

template <class Table> class CRecordMoves {
public:
    // Each returns the engine's result (e4parmNull while the table is closed).
    int first() { return m_data ? positioned(d4top(m_data)) : e4parmNull; }
    int next() { return m_data ? positioned(d4skip(m_data, 1)) : e4parmNull; }
    int goTo(long record) { return m_data ? positioned(d4go(m_data, record)) : e4parmNull; }
    long recordNumber() const { return m_data ? d4recNo(m_data) : 0; }
    // The open table, or null: tells which of a context's tables a written record belongs to.
    const Data4* table() const { return m_data; }

    // Packs the table for good: 0, or CTableOps::kInUse when it cannot be had exclusively.
    // A pack needs the only open of the table, so ours is closed meanwhile and the table is
    // open for shared use again afterwards.
    int compress() {
        Table& table = static_cast<Table&>(*this);
        const std::string name = table.m_tableName;
        table.close();
        const int result = CTableOps::pack(table.m_code, name, Table::kTagName, Table::kUniqueTag);
        table.m_tableName = name;
        table.openTable();
        return result;
    }

    // The stored bytes of records, for the history's undo and restore: each table's tag key is
    // the leading bytes of its records, so a record is found by its key and then compared whole.
    // `bytes` is a record after its deletion flag; missing trailing bytes are blanks.

    // Positions on the live record holding exactly `bytes`: 0, else res4noRecord (nothing read
    // into the image), or the failing result.
    int findBytes(std::string_view bytes) {
        if (!m_data) return e4parmNull;
        const std::string wanted = padded(bytes);
        const std::size_t keyLength = keyBytes();
        const std::string key = wanted.substr(0, keyLength);
        int rc = d4seek(m_data, key);
        while (rc == res4success || rc == res4after) {
            const std::string_view now(m_data->record.data() + 1, m_data->record.size() - 1);
            if (now.substr(0, keyLength) != key) break;
            if (now == wanted) return 0;
            rc = d4skip(m_data, 1);
        }
        return rc < 0 ? rc : res4noRecord;
    }
    // Whether a live record has the key `bytes` begin with.
    int keyTaken(std::string_view bytes, bool& taken) {
        taken = false;
        if (!m_data) return e4parmNull;
        const std::string key = padded(bytes).substr(0, keyBytes());
        const int rc = d4seek(m_data, key);
        if (rc < 0) return rc;
        taken = rc == res4success;
        return 0;
    }
    // Appends a record of `bytes`, flushed; the lock is let go unless `holdLock` (the caller
    // holds the table's lock). The append's result, or the flush's failure.
    int appendBytes(std::string_view bytes, bool holdLock = false) {
        if (!m_data) return e4parmNull;
        d4appendStart(m_data, 0);
        d4blank(m_data);
        copyBytes(bytes);
        int rc = d4append(m_data);
        if (rc == res4success) rc = d4flush(m_data);
        if (!holdLock) CTableOps::unlockAfterWrite(m_data);
        return rc;
    }
    // Rewrites the current record (found by findBytes, locked by the caller or not) with `bytes`;
    // flushed and unlocked unless `holdLock`.
    int rewriteBytes(std::string_view bytes, bool holdLock = false) {
        if (!m_data) return e4parmNull;
        copyBytes(bytes);
        d4changed(m_data, 1);
        const int rc = d4flush(m_data);
        if (rc != 0) d4changed(m_data, 0);
        if (!holdLock) CTableOps::unlockAfterWrite(m_data);
        return rc;
    }
    // Deletes the current record; flushed and unlocked unless `holdLock`.
    int deleteBytes(bool holdLock = false) {
        if (!m_data) return e4parmNull;
        d4delete(m_data);
        const int rc = d4flush(m_data);
        if (rc != 0) d4changed(m_data, 0);
        if (!holdLock) CTableOps::unlockAfterWrite(m_data);
        return rc;
    }

protected:
    CRecordMoves() = default;
    ~CRecordMoves() = default;

    int positioned(int result) {
        Table& table = static_cast<Table&>(*this);
        if (result == res4success)
            table.readImage();
        else
            table.missed();
        return result;
    }
    // Seeks `key` in the selected tag. An exact hit reads the record and gives 0; with
    // `landingCounts` a landing on the next greater key (res4after) does too.
    int seekKey(const std::string& key, bool landingCounts) {
        if (!m_data) return e4parmNull;
        const int rc = d4seek(m_data, key);
        if (rc == res4success || (rc == res4after && landingCounts)) return positioned(res4success);
        static_cast<Table&>(*this).missed();
        return rc;
    }

    Data4* m_data = nullptr;

private:
    std::string padded(std::string_view bytes) const {
        std::string out(bytes.substr(0, m_data->record.size() - 1));
        out.resize(m_data->record.size() - 1, ' ');
        return out;
    }
    std::size_t keyBytes() const {
        const Tag4* tag = d4tagSelected(m_data);
        return tag ? static_cast<std::size_t>(tag->keyLength) : m_data->record.size() - 1;
    }
    void copyBytes(std::string_view bytes) {
        const std::string image = padded(bytes);
        std::copy(image.begin(), image.end(), m_data->record.begin() + 1);
    }
};

} // namespace orv
