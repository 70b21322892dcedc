#pragma once
// Conversions between the all-text fields of the group tables and the values the record
// classes hold. Every table field is a character field: numbers are stored zero-padded and
// read back with a decimal conversion of their leading digits, texts lose their trailing
// blanks when read. Keys and numbers are built exactly as the printf formats they replace
// ("%-21s" pads but never cuts; "%8s" pads on the left), so a key that is too long stays too
// long and is cut by the engine at the key length.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace orv {

class CFieldText {
public:
    // The text without its trailing blanks.
    static std::string trimRight(std::string_view text);
    // Optional leading blanks and a sign, then the leading digits; 0 when there are none.
    // Values beyond the range of int are held at its limits.
    static int decimal(std::string_view text) {
        // Most stored numbers are nothing but a few digits: read those at once, inline, since
        // the lists read several for every record.
        if (!text.empty() && text.size() <= 9) {
            int value = 0;
            std::size_t i = 0;
            for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
                value = value * 10 + (text[i] - '0');
            if (i == text.size()) return value;
        }
        return anyDecimal(text);
    }
    // A text as "%s" would take it: up to its first zero byte. Inline, eight bytes at a time,
    // since the lists call it for every field they show.
    [[gnu::always_inline]] static std::string_view cText(std::string_view text) {
        std::size_t i = 0;
        for (std::uint64_t word; i + 8 <= text.size(); i += 8) {
            std::memcpy(&word, text.data() + i, 8);
            if (((word - 0x0101010101010101ULL) & ~word & 0x8080808080808080ULL) != 0) break;
        }
        for (; i < text.size(); ++i)
            if (text[i] == '\0') return text.substr(0, i);
        return text;
    }
    // "%-Ns": padded with blanks on the right to width, never cut.
    static std::string padRight(std::string_view text, std::size_t width);
    // "%Ns": padded with blanks on the left to width, never cut.
    static std::string padLeft(std::string_view text, std::size_t width);
    // "%0Nd".
    static std::string zeroPadded(long value, int width);
    // A stable 16-hex-digit digest of `text` (FNV-1a, 64 bits): for keys made of names, no secret.
    static std::string digest(std::string_view text);
    // The date key "%04d%02d%02d".
    static std::string dateKey(int year, int month, int day);
    // Splits a stored date by position: year = first four characters, month = characters 5-6,
    // day = last two characters, each with decimal(). Short texts give 0 for what is missing.
    static void splitDate(std::string_view text, int& year, int& month, int& day);
    // The reservation key "%8s%-20s%2s%2s" of date key, item name, start hour and minute
    // texts; schedule records and roster links are both found by it.
    static std::string reservationKey(std::string_view dateKey, std::string_view itemName,
                                      std::string_view startHour, std::string_view startMinute);
    // A calendar date that exists, from 1900 to 9999.
    static bool isValidDate(int year, int month, int day);
    // The 12-hour form the lists share: hours 0-11 as they are (00:30 keeps 00), 12 as 12, 13-23
    // less 12, and from 12 on the afternoon marker. Each list writes its own marker text.
    static int hour12(int hour) { return hour > 12 ? hour - 12 : hour; }
    static bool afternoon(int hour) { return hour >= 12; }

private:
    static int anyDecimal(std::string_view text);
};

} // namespace orv
