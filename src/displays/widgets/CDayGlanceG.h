#pragma once
// "Day at a Glance" over CDayGlance, in either form: a date picker, for twelve hours the start
// hour with its arrows and AM/PM label, the owner-drawn list, and OK, Refresh (twelve hours),
// Print and Help. A click on an item line opens that item's day list.

#include "displays/CDayGlance.h"
#include "ui/CModelDialog.h"

class QDateEdit;
class QLabel;
class QLineEdit;

namespace orv {

class CDAGListBox;

class CDayGlanceG : public CModelDialog {
    Q_OBJECT
public:
    CDayGlanceG(CDayGlance& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    CDAGListBox* list() const { return m_list; }
    QDateEdit* datePicker() const { return m_date; }
    QLineEdit* startHourField() const { return m_hour; }
    QLabel* hourLabel() const { return m_hourLabel; }

    // The list as the model has it now.
    void refill();
    // What a click on a line does.
    void lineClicked(int row);

    static void registerDialogs();
    // The font of the overview lists: 10-point "Courier", or another fixed-pitch face.
    static QFont listFont();

protected:
    // Enter in a field does what the field's neighbour does (the start hour and the date are
    // taken, and the twelve hours refreshed); on a list line it opens that line. It never closes
    // the overview: OK does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void takeStartHour();

    CDayGlance& m_glance;
    QDateEdit* m_date = nullptr;
    QLineEdit* m_hour = nullptr;
    QLabel* m_hourLabel = nullptr;
    CDAGListBox* m_list = nullptr;
    bool m_takingHour = false;
};

} // namespace orv
