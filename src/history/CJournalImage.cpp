#include "history/CJournalImage.h"

#include "tables/CFieldText.h"
#include "tables/CJournal.h"
#include "tables/CScheduleRecord.h"

#include <cstdio>

namespace orv {

namespace {

// Offsets after the deletion flag, from the tables' field orders.
constexpr std::size_t kReservationKey = 8 + 20 + 2 + 2;
constexpr std::size_t kSchedEndHH = 32, kSchedEndMM = 34, kSchedPerson = 36;
constexpr std::size_t kSchedFlags = 36 + 21 + 16 + 2 + 10 + 80 + 8 + 4 + 3;
constexpr std::size_t kLinkPerson = 32;
constexpr std::size_t kPersonKey = 21 + 16 + 2 + 10;

std::string padded(std::string_view image, std::size_t offset, std::size_t width) {
    std::string out(width, ' ');
    if (offset < image.size()) {
        const std::string_view part = image.substr(offset, width);
        out.replace(0, part.size(), part);
    }
    return out;
}

CPeopleKey personAt(std::string_view image, std::size_t at) {
    return CPeopleKey(CJournalImage::field(image, at + 21, 16),
                      CJournalImage::field(image, at + 37, 2), CJournalImage::field(image, at, 21),
                      CJournalImage::field(image, at + 39, 10));
}

} // namespace

std::string CJournalImage::field(std::string_view image, std::size_t offset, std::size_t width) {
    if (offset >= image.size()) return {};
    return CFieldText::trimRight(image.substr(offset, width));
}

std::string CJournalImage::keyOf(std::string_view table, std::string_view image) {
    if (table == kSchedule || table == kLinks)
        return CFieldText::trimRight(padded(image, 0, kReservationKey));
    if (table == kPeople) return CFieldText::trimRight(padded(image, 0, kPersonKey));
    if (table == kItems) return itemOfItems(image);
    return {};
}

std::string CJournalImage::linkPerson(std::string_view image) {
    return CFieldText::trimRight(padded(image, kLinkPerson, kPersonKey));
}

bool CJournalImage::isBlockout(std::string_view image) {
    return (CFieldText::decimal(field(image, kSchedFlags, 5)) & CScheduleRecord::kFlagBlockout) !=
           0;
}

CDate CJournalImage::date(std::string_view image) {
    return CDate::fromKey(padded(image, 0, 8));
}

std::string CJournalImage::itemName(std::string_view image) {
    return field(image, 8, 20);
}

int CJournalImage::startHhmm(std::string_view image) {
    return CFieldText::decimal(field(image, 28, 2)) * 100 +
           CFieldText::decimal(field(image, 30, 2));
}

int CJournalImage::endHhmm(std::string_view image) {
    return CFieldText::decimal(field(image, kSchedEndHH, 2)) * 100 +
           CFieldText::decimal(field(image, kSchedEndMM, 2));
}

CPeopleKey CJournalImage::person(std::string_view image) {
    return personAt(image, kSchedPerson);
}

CPeopleKey CJournalImage::personOfPeople(std::string_view image) {
    return personAt(image, 0);
}

CPeopleKey CJournalImage::personOfLink(std::string_view image) {
    return personAt(image, kLinkPerson);
}

std::string CJournalImage::itemImage(const CRoom& item) {
    std::string image = item.name() + "|" + item.occupancyText() + "|" +
                        std::to_string(item.defaultLength()) + "|" + item.longDescription();
    if (image.size() > CJournal::kImageWidth) image.resize(CJournal::kImageWidth);
    return CFieldText::trimRight(image);
}

std::string CJournalImage::itemOfItems(std::string_view image) {
    return std::string(image.substr(0, image.find('|')));
}

bool CJournalImage::itemFromImage(std::string_view image, CRoom& item) {
    if (image.size() >= CJournal::kImageWidth) return false;
    std::string_view parts[3];
    for (std::string_view& part : parts) {
        const std::size_t bar = image.find('|');
        if (bar == std::string_view::npos) return false;
        part = image.substr(0, bar);
        image.remove_prefix(bar + 1);
    }
    item.setName(std::string(parts[0]));
    item.setOccupancyText(parts[1]);
    item.setDefaultLength(CFieldText::decimal(parts[2]));
    item.setLongDescription(std::string(image));
    return true;
}

std::string CJournalImage::describePerson(const CPeopleKey& p) {
    std::string text = p.lastName() + ", " + p.firstName();
    if (!p.middleInitial().empty()) text += " " + p.middleInitial();
    if (!p.department().empty()) text += " (" + p.department() + ")";
    return text;
}

std::string CJournalImage::describeReservation(std::string_view image) {
    const CDate d = date(image);
    const int start = startHhmm(image);
    const int end = endHhmm(image);
    char text[96];
    std::snprintf(text, sizeof text, " %02d/%02d/%04d %02d:%02d-%02d:%02d", d.month, d.day, d.year,
                  start / 100, start % 100, end / 100, end % 100);
    std::string line = itemName(image) + text;
    if (!isBlockout(image)) line += " for " + describePerson(person(image));
    return line;
}

} // namespace orv
