#include "tables/CPeopleKey.h"

#include "tables/CFieldText.h"

#include <utility>

namespace orv {

CPeopleKey::CPeopleKey(std::string firstName, std::string middleInitial, std::string lastName,
                       std::string department)
    : m_firstName(std::move(firstName)), m_middleInitial(std::move(middleInitial)),
      m_lastName(std::move(lastName)), m_department(std::move(department)) {}

void CPeopleKey::set(std::string firstName, std::string middleInitial, std::string lastName,
                     std::string department) {
    m_firstName = std::move(firstName);
    m_middleInitial = std::move(middleInitial);
    m_lastName = std::move(lastName);
    m_department = std::move(department);
}

bool CPeopleKey::operator==(const CPeopleKey& other) const {
    return m_lastName == other.m_lastName && m_firstName == other.m_firstName &&
           m_middleInitial == other.m_middleInitial && m_department == other.m_department;
}

std::string CPeopleKey::searchKey() const {
    return searchKey(m_firstName, m_middleInitial, m_lastName, m_department);
}

std::string CPeopleKey::searchKey(std::string_view firstName, std::string_view middleInitial,
                                  std::string_view lastName, std::string_view department) {
    return CFieldText::padRight(lastName, kLastNameWidth) +
           CFieldText::padRight(firstName, kFirstNameWidth) +
           CFieldText::padRight(middleInitial, kMiddleInitialWidth) +
           CFieldText::padRight(department, kDepartmentWidth);
}

std::string CPeopleKey::listLine(std::string_view phone) const {
    const std::string_view department = CFieldText::cText(m_department);
    const std::string_view phoneText = CFieldText::cText(phone);
    std::string line;
    line += CFieldText::cText(m_lastName);
    line += ", ";
    line += CFieldText::cText(m_firstName);
    line += ' ';
    line += CFieldText::cText(m_middleInitial);
    line += "   ";
    if (!department.empty()) {
        line += '(';
        line += department;
        line += ")   ";
    }
    if (!phoneText.empty()) {
        line += "** ";
        line += phoneText;
        line += " **   ";
    }
    return line;
}

} // namespace orv
