#pragma once
// The record layer over a group's series table (base path + "Series"): for each series made by a
// repeat rule beyond the classic ones, the rule itself, the dates left out and the dates skipped.
// Only this program opens it; the schedule table keeps every member as an ordinary record with
// the series' creation stamp, so a group without this table still works.
//
// Fields (all character fields), in order:
//   | #  | name     | width | content                                                    |
//   |----|----------|-------|------------------------------------------------------------|
//   | 1  | DATEMADE | 8     | creation stamp of the series: "%04d%02d%02d"               |
//   | 2  | TIMEMADE | 4     | "%02d%02d"                                                 |
//   | 3  | MADESECS | 2     | "%02d"                                                     |
//   | 4  | ROOMNAME | 20    | item name                                                  |
//   | 5  | STARTHH  | 2     | start of the members, "%02d"                               |
//   | 6  | STARTMM  | 2     | "%02d"                                                     |
//   | 7  | KIND     | 1     | R the rule, X a date left out, S a date skipped            |
//   | 8  | DATE     | 8     | R the first date of the rule, X and S that date            |
//   | 9  | LASTDATE | 8     | R the last date of the series (eight zeros on X and S)     |
//   | 10 | REASON   | 1     | S: C conflict, B blocked out, M the month has no such day  |
//   | 11 | TEXT     | 200   | R the RFC 5545 rule, S what the date was skipped for       |
// Tag "SERIESTAG", key DATEMADE+TIMEMADE+MADESECS+ROOMNAME+STARTHH+STARTMM+KIND+DATE, filter
// .NOT. DELETED(), unique: all rows of a series stand together, the rule first.
//
// The table belongs to the engine context given at construction. Every operation returns the
// engine's result or error code; e4parmNull when no table is open.

#include "storage/Data4.h"
#include "tables/CDate.h"
#include "tables/CRecordMoves.h"

#include <string>
#include <vector>

namespace orv {

class CScheduleRecord;

struct CSeriesRow {
    static constexpr char kRule = 'R';
    static constexpr char kLeftOut = 'X';
    static constexpr char kSkipped = 'S';
    static constexpr char kConflict = 'C';
    static constexpr char kBlockedOut = 'B';
    static constexpr char kNoSuchDay = 'M';

    std::string series; // seriesKey() of the series
    char kind = kRule;
    CDate date;
    CDate lastDate;
    char reason = ' ';
    std::string text;
};

class CSeriesRules : public CRecordMoves<CSeriesRules> {
public:
    static constexpr const char* kTagName = "SERIESTAG";
    static constexpr bool kUniqueTag = true;
    static constexpr int kFieldCount = 11;
    static constexpr int kTextWidth = 200;
    static constexpr int kSeriesKeyLength = 38;

    explicit CSeriesRules(Code4& code) : m_code(code) {}
    CSeriesRules(const CSeriesRules&) = delete;
    CSeriesRules& operator=(const CSeriesRules&) = delete;

    // Creates base path of `groupFile` + "Series"; the context's errorCode after the create.
    int create(const std::string& groupFile);
    // Opens base path of `groupFile` + "Series"; an empty path reopens the table last named.
    int open(const std::string& groupFile);
    // Opens the table when it is there, without an engine report when it is not (a group made
    // before series rules, or by another program): 0 when open.
    int openIfThere(const std::string& groupFile);
    // Opens the table, creating it when there is none yet.
    int openOrCreate(const std::string& groupFile);
    int close();
    bool isOpen() const { return m_data != nullptr; }
    const std::string& tableName() const { return m_tableName; }

    // The key of the series a schedule record belongs to: its creation stamp, item and start.
    static std::string seriesKey(const CScheduleRecord& member);
    // Its creation stamp and item alone: a member whose start was changed on its own still finds
    // the rows of its series by it.
    static std::string seriesPrefix(const CScheduleRecord& member);
    static constexpr int kSeriesPrefixLength = 34;

    const CSeriesRow& image() const { return m_image; }
    // The rows of one series (every row whose key begins with `seriesKey`, which may be a
    // seriesPrefix()), the rule first; 0 also when there are none.
    int rowsOf(const std::string& seriesKey, std::vector<CSeriesRow>& rows);
    // Appends rows while the caller holds the schedule table's lock. A row that is there already
    // (res4unique) counts as written. 0, or the first failure.
    int append(const std::vector<CSeriesRow>& rows);
    // Deletes every row of the series (a key or a prefix, as rowsOf takes it); `keep` (optional)
    // spares the rows it answers true for.
    int deleteSeries(const std::string& seriesKey, bool (*keep)(const CSeriesRow&) = nullptr);
    // Deletes one row (kind and date) of the series, when it is there.
    int deleteRow(const std::string& seriesKey, char kind, const CDate& date);
    // Deletes the series whose last date lies before `dateKey`: all their members are gone.
    // How many rows went, or a negative failure.
    int deleteEndedBefore(const std::string& dateKey);
    int lockAll();
    int unlock();

private:
    friend class CRecordMoves<CSeriesRules>;
    int openTable();
    void bindFields();
    void readImage();
    void missed() { m_image = CSeriesRow(); }
    void writeRow(const CSeriesRow& row);
    int seekSeries(const std::string& seriesKey);

    Code4& m_code;
    std::string m_tableName;
    Tag4* m_tag = nullptr;
    Field4* m_dateMade = nullptr;
    Field4* m_timeMade = nullptr;
    Field4* m_madeSecs = nullptr;
    Field4* m_roomName = nullptr;
    Field4* m_startHH = nullptr;
    Field4* m_startMM = nullptr;
    Field4* m_kind = nullptr;
    Field4* m_date = nullptr;
    Field4* m_lastDate = nullptr;
    Field4* m_reason = nullptr;
    Field4* m_text = nullptr;
    CSeriesRow m_image;
};

} // namespace orv
