#pragma once
// Reading the record images a journal row keeps: the bytes of a schedule record, roster link or
// person after the deletion flag, as the tables' field layouts place them, or an item's values.
// Short images (tables of an older level, trailing blanks dropped) read as blank beyond their end.

#include "tables/CDate.h"
#include "tables/CRoom.h"
#include "tables/CPeopleKey.h"

#include <string>
#include <string_view>

namespace orv {

class CJournalImage {
public:
    // The TABLENAME of each kind of row.
    static constexpr const char* kSchedule = "Sched";
    static constexpr const char* kLinks = "RosLnk";
    static constexpr const char* kPeople = "People";
    static constexpr const char* kItems = "Items";

    // The record's key in its table: the reservation key (date, item, start) for schedule
    // records and links, the person key for people, the item's name for items.
    static std::string keyOf(std::string_view table, std::string_view image);
    // The person key of a link image (last name, first name, initial, department).
    static std::string linkPerson(std::string_view image);

    // Schedule images.
    static bool isBlockout(std::string_view image);
    static CDate date(std::string_view image);
    static std::string itemName(std::string_view image);
    static int startHhmm(std::string_view image);
    static int endHhmm(std::string_view image);
    static CPeopleKey person(std::string_view image);
    // Person images (and link images from their person on).
    static CPeopleKey personOfPeople(std::string_view image);
    static CPeopleKey personOfLink(std::string_view image);
    // Item images: "name|occupancy|default length|description", cut to the journal's width.
    static std::string itemImage(const CRoom& item);
    static std::string itemOfItems(std::string_view image);
    // The stored values of an item image into `item`; false for an image cut at the journal's
    // width (its description may be longer than what was kept).
    static bool itemFromImage(std::string_view image, CRoom& item);

    // "Boardroom 12/10/2026 09:00-10:00 for Morgan, Alex J (Sales)" (a blockout without "for").
    static std::string describeReservation(std::string_view image);
    // "Morgan, Alex J (Sales)".
    static std::string describePerson(const CPeopleKey& person);

    // The field at `offset` of `width`, trailing blanks dropped.
    static std::string field(std::string_view image, std::size_t offset, std::size_t width);
};

} // namespace orv
