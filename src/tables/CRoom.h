#pragma once
// One item of a group (a room, a car, a projector...). Items are not kept in a table: they are
// records inside the group file, read into the group document's item list in file order.
//
// Stored values, in group file order: name, long description, occupancy, default reservation
// length. The other values are working state that is never stored.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class CByteReader;
class CByteWriter;

class CRoom {
public:
    static constexpr std::size_t kMaxCurrentUse = 21;
    // The width of the schedule's ROOMNAME field: a longer name would match no record.
    static constexpr std::size_t kMaxName = 20;
    static constexpr int kWeekdays = 7;

    // Empty texts, every number 0, seven weekday values of 0.
    CRoom() = default;

    // Takes over the stored values, the in-use flag and the other integer working values; keeps
    // this item's current-use text and weekday values.
    void copyFrom(const CRoom& other);
    // Empties name and description and clears every number, flag and working value.
    void reset();

    const std::string& name() const { return m_name; }
    void setName(std::string name) { m_name = std::move(name); }
    const std::string& longDescription() const { return m_longDescription; }
    void setLongDescription(std::string text) { m_longDescription = std::move(text); }

    std::int32_t occupancy() const { return m_occupancy; }
    void setOccupancy(std::int32_t occupancy) { m_occupancy = occupancy; }
    // Decimal conversion of what was typed into the occupancy field: optional blanks and sign,
    // then the leading digits; text that does not start that way gives 0.
    void setOccupancyText(std::string_view text);
    // What the occupancy field shows: empty for 0 ("not given"), else the number.
    std::string occupancyText() const;

    // Minutes proposed for a new reservation of this item; 0 when not given.
    std::int32_t defaultLength() const { return m_defaultLength; }
    void setDefaultLength(std::int32_t minutes) { m_defaultLength = minutes; }

    bool inUse() const { return m_inUse; }
    void setInUse(bool inUse) { m_inUse = inUse; }
    // Who holds the item now; cut to 21 characters.
    const std::string& currentUse() const { return m_currentUse; }
    void setCurrentUse(std::string_view text);

    // Whether read() takes a default length from the stream: only files of the new format
    // carry one.
    bool hasDefaultLength() const { return m_hasDefaultLength; }
    void setHasDefaultLength(bool has) { m_hasDefaultLength = has; }

    // Included in the utilization report.
    bool selected() const { return m_selected; }
    void setSelected(bool selected) { m_selected = selected; }
    // Utilization per weekday, 0 = Sunday; an index outside 0-6 reads 0 and is not written.
    double weekdayValue(int weekday) const;
    void setWeekdayValue(int weekday, double value);

    // Reads name, description, occupancy and, when hasDefaultLength(), the default length (else
    // it becomes 0). False when the stream ends early or a length is corrupt; the item is then
    // unchanged.
    bool read(CByteReader& in);
    // Always writes all four stored values. False only for a text too long to be stored.
    bool write(CByteWriter& out) const;

private:
    std::string m_name;
    std::string m_longDescription;
    std::int32_t m_occupancy = 0;
    std::int32_t m_defaultLength = 0;

    bool m_inUse = false;
    std::string m_currentUse;
    bool m_hasDefaultLength = false;
    bool m_selected = false;
    std::array<double, kWeekdays> m_weekdayValues{};
};

} // namespace orv
