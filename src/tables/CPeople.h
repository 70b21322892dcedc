#pragma once
// The record layer over a people table: creating and opening it, one decoded copy of the
// current record (image()), positioning, and the fixed add/change/delete sequences.
//
// Fields (all character fields):
//   LASTNAME 21, FIRSTNAME 16, MI 2, DEPARTMENT 10, LOCATION 39, F1 39, F2 39, NOTES 39,
//   PHONE 15, LASTUSED 8 ("%04d%02d%02d"), FLAGS 5 ("%05d")
// Tag "PEOPLETAG", key LASTNAME+FIRSTNAME+MI+DEPARTMENT, filter .NOT. DELETED(), unique (20).
// A 9-field table is the older layout: LASTUSED and FLAGS are neither bound, read nor
// written, and every person reads with flags 2.
//
// The table belongs to the engine context given at construction: the context's release
// closes it too, after which this object must not be used. Every operation returns the
// engine's result or error code; e4parmNull when no table is open.

#include "storage/Data4.h"
#include "tables/CPeopleRecord.h"
#include "tables/CRecordMoves.h"

#include <string>
#include <vector>

namespace orv {

class CPeople : public CRecordMoves<CPeople> {
public:
    enum class Kind { MayReserve, Attendee };

    static constexpr const char* kTagName = "PEOPLETAG";
    static constexpr bool kUniqueTag = true;
    static constexpr int kFieldCount = 11;
    static constexpr int kOldLayoutFieldCount = 9;

    explicit CPeople(Code4& code) : m_code(code) {}
    CPeople(const CPeople&) = delete;
    CPeople& operator=(const CPeople&) = delete;

    // Creates base path of `groupFile` + "People" with the 11 fields and the tag. Returns the
    // context's errorCode after the create; nothing else is done when it is not 0.
    int create(const std::string& groupFile);
    // `path` names the table itself when `pathIsTable`, else a group file whose own people
    // table is meant; an empty path reopens the table last named.
    int open(const std::string& path, bool pathIsTable);
    int close();

    bool isOpen() const { return m_data != nullptr; }
    // The engine context, for clearing an error a caller has reported itself.
    Code4& code() { return m_code; }
    bool oldLayout() const { return m_oldLayout; }
    const std::string& tableName() const { return m_tableName; }

    // Seeks the person; only an exact hit (0) reads the record, other results leave the image
    // as it was.
    int seekPerson(const std::string& firstName, const std::string& middleInitial,
                   const std::string& lastName, const std::string& department);
    int seekPerson(const CPeopleKey& key);
    // first, next, goTo (CRecordMoves) read the record on success; other results leave the
    // image as it was.

    void clearImage();
    CPeopleRecord& image() { return m_image; }
    const CPeopleRecord& image() const { return m_image; }

    // Appends the image as a new record: res4unique (20) when the person exists already.
    int append();
    // Rewrites the current record from the image; the flush's result. A refused rewrite (the
    // person key is taken) is dropped and the record read again.
    int update();
    // Locks the current record and reads it again from the file; res4noRecord when another
    // user deleted it meanwhile (see CTableOps::relockCurrent).
    int relockCurrent();
    // Marks the current record deleted; the flush's result.
    int deleteCurrent();
    int lockAll();
    int unlock();

    // Every person of the kind in tag order (on the older layout, everybody). Returns 0 when
    // the end of the table was reached, else the failing result; `people` holds what was
    // found up to there.
    int listPeople(Kind kind, std::vector<CPeopleRecord>& people);

private:
    friend class CRecordMoves<CPeople>;
    int openTable();
    void bindFields();
    void readImage();
    void missed() {}
    void writeImage();

    Code4& m_code;
    std::string m_tableName;
    Tag4* m_tag = nullptr;
    bool m_oldLayout = false;
    Field4* m_lastName = nullptr;
    Field4* m_firstName = nullptr;
    Field4* m_middleInitial = nullptr;
    Field4* m_department = nullptr;
    Field4* m_location = nullptr;
    Field4* m_f1 = nullptr;
    Field4* m_f2 = nullptr;
    Field4* m_notes = nullptr;
    Field4* m_phone = nullptr;
    Field4* m_lastUsed = nullptr;
    Field4* m_flags = nullptr;
    CPeopleRecord m_image;
};

} // namespace orv
