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

#include <string>

namespace orv {

template <class Table> class CRecordMoves {
public:
    // Each returns the engine's result (e4parmNull while the table is closed).
    int first() { return m_data ? positioned(d4top(m_data)) : e4parmNull; }
    int next() { return m_data ? positioned(d4skip(m_data, 1)) : e4parmNull; }
    int goTo(long record) { return m_data ? positioned(d4go(m_data, record)) : e4parmNull; }
    long recordNumber() const { return m_data ? d4recNo(m_data) : 0; }

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
};

} // namespace orv
