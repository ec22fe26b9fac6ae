#include "DateSerial.h"

#include "Rounding.h"

#include <algorithm>
#include <cmath>

namespace pipeloop::catalogue
{

std::optional<QDateTime> DateTimeFromSerial(double serial)
{
    // 1 January 0001 is serial -693593, 31 December 9999 is 2958465.
    if (!std::isfinite(serial) || serial < -693594.0 || serial >= 2958466.0)
        return std::nullopt;
    const double days = std::trunc(serial);
    // Before the epoch the fraction still counts forwards within its day.
    const double fraction = std::fabs(serial - days);
    const QDate date = SerialEpoch().addDays(static_cast<qint64>(days));
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return std::nullopt;
    const int64_t msecs = RoundToInt64(fraction * 86400000.0);
    return QDateTime(date, QTime(0, 0)).addMSecs(std::min<int64_t>(msecs, 86399999));
}

double SerialFromDate(QDate date)
{
    return static_cast<double>(SerialEpoch().daysTo(date));
}

} // namespace pipeloop::catalogue
