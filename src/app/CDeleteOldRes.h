#pragma once
// The "Delete Reservations" page: how many days of past reservations a group keeps when it is
// closed, or none deleted at all.

#include "app/CPreferencePage.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace orv {

class CDeleteOldRes : public CPreferencePage {
    Q_OBJECT
public:
    explicit CDeleteOldRes(QWidget* parent = nullptr);

    void load(const CPreferenceValues& values) override;
    std::optional<Problem> check() const override;
    void save(CPreferenceValues& values) const override;

    QLineEdit* daysField() const { return m_days; }
    QCheckBox* keepAllBox() const { return m_keepAll; }
    QLabel* daysLabel() const { return m_label; }
    QLineEdit* historyField() const { return m_history; }

private:
    void updateEnabled();

    QLabel* m_label;
    QLineEdit* m_days;
    QCheckBox* m_keepAll;
    QLineEdit* m_history;
};

} // namespace orv
