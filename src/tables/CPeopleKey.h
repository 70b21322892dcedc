#pragma once
// The identity of a person: first name, middle initial, last name and department. The same
// four texts, with the same widths, are the person part of the people table, of a schedule
// record and of a roster link. Texts are stored Windows-1252 bytes.

#include <string>
#include <string_view>

namespace orv {

class CPeopleKey {
public:
    static constexpr std::size_t kLastNameWidth = 21;
    static constexpr std::size_t kFirstNameWidth = 16;
    static constexpr std::size_t kMiddleInitialWidth = 2;
    static constexpr std::size_t kDepartmentWidth = 10;

    CPeopleKey() = default;
    CPeopleKey(std::string firstName, std::string middleInitial, std::string lastName,
               std::string department);

    const std::string& firstName() const { return m_firstName; }
    const std::string& middleInitial() const { return m_middleInitial; }
    const std::string& lastName() const { return m_lastName; }
    const std::string& department() const { return m_department; }
    void set(std::string firstName, std::string middleInitial, std::string lastName,
             std::string department);

    // All four texts equal exactly (letter case counts).
    bool operator==(const CPeopleKey& other) const;
    bool operator!=(const CPeopleKey& other) const { return !(*this == other); }

    // "%-21s%-16s%-2s%-10s" of last name, first name, middle initial, department: the text a
    // person is sought by in "PEOPLETAG".
    std::string searchKey() const;
    static std::string searchKey(std::string_view firstName, std::string_view middleInitial,
                                 std::string_view lastName, std::string_view department);

    // The person list line "%s, %s %s   %s" of last name, first name, middle initial and a tail
    // of "(" department ")   " and "** " phone " **   ", each only when its text is not empty.
    std::string listLine(std::string_view phone = {}) const;

private:
    std::string m_firstName;
    std::string m_middleInitial;
    std::string m_lastName;
    std::string m_department;
};

} // namespace orv
