#pragma once
// Calendar dates between the logic and Qt's date pickers.

#include "tables/CDate.h"

#include <QDate>

namespace orv {

inline QDate toQDate(const CDate& d) {
    return QDate(d.year, d.month, d.day);
}
inline CDate fromQDate(const QDate& d) {
    return {d.year(), d.month(), d.day()};
}

} // namespace orv
