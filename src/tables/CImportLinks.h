#pragma once
// The record layer over a group's import table (base path + "Imports"): for each reservation an
// import of a calendar file made, the event it came from (its UID and SEQUENCE, and a digest of
// what the event said), so that importing the file again updates the reservations instead of
// adding them twice. Only this program opens it.
//
// Fields (all character fields), in order:
//   | #  | name     | width | content                                                     |
//   |----|----------|-------|-------------------------------------------------------------|
//   | 1  | UID      | 100   | the event's UID; a longer or non-ASCII one as "#" + digest  |
//   | 2  | DATE     | 8     | date of the reservation, "%04d%02d%02d"                     |
//   | 3  | ROOMNAME | 20    | item name                                                   |
//   | 4  | STARTHH  | 2     | start, "%02d"                                               |
//   | 5  | STARTMM  | 2     | "%02d"                                                      |
//   | 6  | DATEMADE | 8     | creation stamp of the reservation, "%04d%02d%02d"           |
//   | 7  | TIMEMADE | 4     | "%02d%02d"                                                  |
//   | 8  | MADESECS | 2     | "%02d"                                                      |
//   | 9  | SEQUENCE | 10    | the event's SEQUENCE                                        |
//   | 10 | DIGEST   | 16    | hex digest of the event's reservations as imported          |
// Tag "IMPORTTAG", key UID+DATE+ROOMNAME+STARTHH+STARTMM, filter .NOT. DELETED(), unique.
//
// The table belongs to the engine context given at construction. Every operation returns the
// engine's result or error code; e4parmNull when no table is open.

#include "storage/Data4.h"
#include "tables/CRecordMoves.h"

#include <string>
#include <vector>

namespace orv {

struct CImportLink {
    std::string uid; // as stored (see storedUid)
    std::string date;
    std::string item;
    int startHour = 0;
    int startMinute = 0;
    std::string made; // DATEMADE+TIMEMADE+MADESECS
    long sequence = 0;
    std::string digest;
};

class CImportLinks : public CRecordMoves<CImportLinks> {
public:
    static constexpr const char* kTagName = "IMPORTTAG";
    static constexpr bool kUniqueTag = true;
    static constexpr int kUidWidth = 100;

    explicit CImportLinks(Code4& code) : m_code(code) {}
    CImportLinks(const CImportLinks&) = delete;
    CImportLinks& operator=(const CImportLinks&) = delete;

    int create(const std::string& groupFile);
    // Opens the table, creating it when there is none yet.
    int openOrCreate(const std::string& groupFile);
    // Opens the table when it is there, without an engine report when it is not: 0 when open.
    int openIfThere(const std::string& groupFile);
    int close();
    bool isOpen() const { return m_data != nullptr; }

    // A UID as the table keeps it: printable ASCII that fits as it is, else "#" and a digest.
    static std::string storedUid(const std::string& uid);

    const CImportLink& image() const { return m_image; }
    // The rows of one UID (as storedUid gives it); 0 also when there are none.
    int rowsOf(const std::string& uid, std::vector<CImportLink>& rows);
    // Appends rows while the caller holds the schedule table's lock; a row there already counts
    // as written. 0, or the first failure.
    int append(const std::vector<CImportLink>& rows);
    // Deletes every row of the UID.
    int deleteRows(const std::string& uid);

private:
    friend class CRecordMoves<CImportLinks>;
    int openTable();
    void readImage();
    void missed() { m_image = CImportLink(); }

    Code4& m_code;
    std::string m_tableName;
    Tag4* m_tag = nullptr;
    std::vector<Field4*> m_fields;
    CImportLink m_image;
};

} // namespace orv
