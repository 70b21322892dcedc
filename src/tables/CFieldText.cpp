#include "tables/CFieldText.h"

#include "tables/CDate.h"

#include <climits>
#include <cstdint>
#include <cstdio>

namespace orv {

std::string CFieldText::trimRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    return std::string(text.substr(0, end));
}

int CFieldText::anyDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<int>(value);
}

std::string CFieldText::digest(std::string_view text) {
    std::uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    char out[24];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(h));
    return out;
}

std::string CFieldText::padRight(std::string_view text, std::size_t width) {
    std::string out(cText(text));
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

std::string CFieldText::padLeft(std::string_view text, std::size_t width) {
    const std::string_view t = cText(text);
    std::string out;
    if (t.size() < width) out.assign(width - t.size(), ' ');
    out.append(t);
    return out;
}

std::string CFieldText::zeroPadded(long value, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*ld", width, value);
    return buffer;
}

std::string CFieldText::dateKey(int year, int month, int day) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", year, month, day);
    return buffer;
}

void CFieldText::splitDate(std::string_view text, int& year, int& month, int& day) {
    year = decimal(text.substr(0, 4));
    month = text.size() > 4 ? decimal(text.substr(4, 2)) : 0;
    day = text.size() >= 2 ? decimal(text.substr(text.size() - 2)) : 0;
}

std::string CFieldText::reservationKey(std::string_view dateKey, std::string_view itemName,
                                       std::string_view startHour, std::string_view startMinute) {
    return padLeft(dateKey, 8) + padRight(itemName, 20) + padLeft(startHour, 2) +
           padLeft(startMinute, 2);
}

bool CFieldText::isValidDate(int year, int month, int day) {
    if (year < 1900 || year > 9999 || day < 1) return false;
    return day <= CDate::daysInMonth(month, year);
}

} // namespace orv
