#pragma once

#include <QDate>
#include <QDateTime>

#include <optional>

namespace pipeloop::catalogue
{

// Date serials as price-list files store them: days since 30 December 1899,
// the fraction being the time of day.
inline QDate SerialEpoch()
{
    return QDate(1899, 12, 30);
}

// The date-time of a serial, or nothing when it is not a finite number or lies
// outside the years 1 to 9999.
std::optional<QDateTime> DateTimeFromSerial(double serial);
// The serial of a date (at midnight).
double SerialFromDate(QDate date);

} // namespace pipeloop::catalogue
