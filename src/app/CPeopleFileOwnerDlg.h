#pragma once
// "Display Owner of People File Used by This Group": the group's stored people file name, which
// names the group that owns the people file.

#include <QDialog>

#include <string>

class QLineEdit;

namespace orv {

class CPeopleFileOwnerDlg : public QDialog {
    Q_OBJECT
public:
    // `storedName` is the document's stored people file name (Windows-1252); empty when the
    // group has its own people file.
    explicit CPeopleFileOwnerDlg(const std::string& storedName, QWidget* parent = nullptr);

    QLineEdit* ownerField() const { return m_owner; }

private:
    QLineEdit* m_owner;
};

// Runs the dialog modally.
void showPeopleFileOwner(const std::string& storedName, QWidget* parent = nullptr);

} // namespace orv
