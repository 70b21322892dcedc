#pragma once
// The person dialog: adds a person or attendee to the people table, or changes one. Texts are
// stored as typed; the table pads them to its field widths.

#include "group/CUserPrompt.h"

#include <string>

namespace orv {

class CPeople;
class CPeopleRecord;

class CPersonModel : public CDialogModel {
public:
    static constexpr const char* kId = "Person";
    static constexpr int kFirstNameLimit = 16;
    static constexpr int kMiddleInitialLimit = 1;
    static constexpr int kLastNameLimit = 21;
    static constexpr int kDepartmentLimit = 10;
    static constexpr int kPhoneLimit = 15;
    static constexpr int kTextLimit = 39; // location, notes and the two free lines

    static constexpr const char* kNameMissing = "A first and last name must be specified";
    static constexpr const char* kNameMissingTitle = "Name Error";
    static constexpr const char* kNoKind = "You must check the Resident and/or the Attendee box";
    static constexpr const char* kNoKindTitle = "Type Error";
    static constexpr const char* kExists =
        "A record for this person already exists in the database";
    static constexpr const char* kExistsTitle = "Add Error";
    static constexpr const char* kDeletedMeanwhile =
        "This person has been deleted by another user, update cannot be made";
    static constexpr const char* kDeletedMeanwhileTitle = "Modify Error";

    enum class Mode {
        Add,         // People or Attendees > Add: "Add and New" offered
        AddFromList, // "<Add a new person>" of a reservation or attendee list: confirm reads "OK"
        Change       // changing the person read last into the table's image
    };

    // Adding: the boxes start as given ("Can make reservations" when neither is). Changing: the
    // fields and boxes come from the people table's current record, which is the one written.
    CPersonModel(CPeople& people, Mode mode, bool mayReserve, bool attendee);

    const char* id() const override { return kId; }
    // "Add and Close" / "OK".
    bool onOk(CUserPrompt& prompt) override { return confirm(prompt, false); }
    // "Add and New": true when the person was added; the nine texts are then empty (the boxes
    // stay) for the next person.
    bool addAndNew(CUserPrompt& prompt) { return confirm(prompt, true); }

    Mode mode() const { return m_mode; }
    bool adding() const { return m_mode != Mode::Change; }
    bool addAndNewOffered() const { return m_mode == Mode::Add; }
    const std::string& title() const { return m_title; }
    // "Add and Close", or "OK" when "Add and New" is not offered.
    const char* confirmLabel() const { return addAndNewOffered() ? "Add and Close" : "OK"; }
    // The record added or changed by the last confirmation.
    long recordNumber() const { return m_record; }

    std::string firstName;
    std::string middleInitial;
    std::string lastName;
    std::string department;
    std::string phone;
    std::string location;
    std::string notes;
    std::string f1;
    std::string f2;
    bool mayReserve = false;
    bool attendee = false;

private:
    bool confirm(CUserPrompt& prompt, bool addAndNew);
    bool write(CUserPrompt& prompt);

    CPeople& m_people;
    Mode m_mode;
    std::string m_title;
    long m_record = 0;
    std::string m_oldFirst;
    std::string m_oldMiddle;
    std::string m_oldLast;
    std::string m_oldDepartment;
};

} // namespace orv
