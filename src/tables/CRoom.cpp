#include "tables/CRoom.h"

#include "tables/CByteReader.h"
#include "tables/CByteWriter.h"
#include "tables/CFieldText.h"

namespace orv {

void CRoom::copyFrom(const CRoom& other) {
    if (this == &other) return;
    m_name = other.m_name;
    m_longDescription = other.m_longDescription;
    m_occupancy = other.m_occupancy;
    m_defaultLength = other.m_defaultLength;
    m_inUse = other.m_inUse;
    m_hasDefaultLength = other.m_hasDefaultLength;
    m_selected = other.m_selected;
}

void CRoom::reset() {
    m_name.clear();
    m_longDescription.clear();
    m_occupancy = 0;
    m_defaultLength = 0;
    m_inUse = false;
    m_currentUse.clear();
    m_hasDefaultLength = false;
    m_selected = false;
    m_weekdayValues.fill(0.0);
}

void CRoom::setOccupancyText(std::string_view text) {
    m_occupancy = CFieldText::decimal(text);
}

std::string CRoom::occupancyText() const {
    if (m_occupancy == 0) return {};
    return std::to_string(m_occupancy);
}

void CRoom::setCurrentUse(std::string_view text) {
    m_currentUse = std::string(text.substr(0, kMaxCurrentUse));
}

double CRoom::weekdayValue(int weekday) const {
    if (weekday < 0 || weekday >= kWeekdays) return 0.0;
    return m_weekdayValues[static_cast<std::size_t>(weekday)];
}

void CRoom::setWeekdayValue(int weekday, double value) {
    if (weekday < 0 || weekday >= kWeekdays) return;
    m_weekdayValues[static_cast<std::size_t>(weekday)] = value;
}

bool CRoom::read(CByteReader& in) {
    std::string name;
    std::string description;
    std::int32_t occupancy = 0;
    std::int32_t defaultLength = 0;
    if (!in.readString(name) || !in.readString(description) || !in.readI32(occupancy)) return false;
    if (m_hasDefaultLength && !in.readI32(defaultLength)) return false;
    m_name = std::move(name);
    m_longDescription = std::move(description);
    m_occupancy = occupancy;
    m_defaultLength = defaultLength;
    return true;
}

bool CRoom::write(CByteWriter& out) const {
    if (!out.writeString(m_name) || !out.writeString(m_longDescription)) return false;
    out.writeI32(m_occupancy);
    out.writeI32(m_defaultLength);
    return true;
}

} // namespace orv
