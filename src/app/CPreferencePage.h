#pragma once
// One page of the Preferences sheet. A page shows its part of CPreferenceValues, reports every
// change by the user (which enables Apply) and checks its fields before the sheet leaves it or
// applies.

#include "app/CPreferenceValues.h"

#include <QWidget>

#include <optional>
#include <string>

namespace orv {

class CPreferencePage : public QWidget {
    Q_OBJECT
public:
    // A refused field: the message for the user and the field that takes the focus back.
    struct Problem {
        std::string message;
        QWidget* field = nullptr;
    };

    CPreferencePage(const QString& title, const QString& helpTopic, QWidget* parent = nullptr);

    const QString& title() const { return m_title; }
    const QString& helpTopic() const { return m_helpTopic; }

    virtual void load(const CPreferenceValues& values) = 0;
    virtual std::optional<Problem> check() const { return std::nullopt; }
    // Only after check() found nothing.
    virtual void save(CPreferenceValues& values) const = 0;

    // A whole number as typed: blanks around it, an optional sign, digits.
    static std::optional<int> parseInteger(const QString& text);

signals:
    void changed();

private:
    QString m_title;
    QString m_helpTopic;
};

} // namespace orv
