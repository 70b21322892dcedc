#pragma once
// The schedule table's 17 character fields and a deterministic stream of reservations for the
// benchmarks.

#include "storage/Data4.h"

#include <string>

namespace orv::bench {

constexpr const char* kScheduleFields[17][2] = {
    {"DATE", "8"},      {"ROOMNAME", "20"},  {"STARTHH", "2"},  {"STARTMM", "2"},     {"ENDHH", "2"},
    {"ENDMM", "2"},     {"LASTNAME", "21"},  {"FIRSTNAME", "16"}, {"MI", "2"},        {"DEPARTMENT", "10"},
    {"NOTES", "80"},    {"DATEMADE", "8"},   {"TIMEMADE", "4"}, {"RECURDAYS", "3"},   {"FLAGS", "5"},
    {"RECUREND", "8"},  {"EXTRA", "8"}};

Field4info scheduleFields();
Tag4info scheduleTag();

// Reservation number i: unique (date, room, start) for i below 96 * 500 * 400 days.
struct Booking {
    std::string date, room, hh, mm, ehh, emm, last, first;
};
Booking booking(long i);
// The 32-byte search key of a booking.
std::string bookingKey(const Booking& b);
// Fills the record buffer from a booking (after d4blank).
void assignBooking(Data4* d, const Booking& b);

} // namespace orv::bench
