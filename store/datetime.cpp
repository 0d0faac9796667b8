#include "store/datetime.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace velmaro {

namespace {
// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

// constexpr: dates built during static initialisation elsewhere need it already.
constexpr long long kOleEpoch = daysFromCivil(1899, 12, 30);
constexpr double kMinValue = -657434.0; // 1 January 100
constexpr double kMaxValue = 2958466.0; // 1 January 10000

double compose(long long days, double fraction) {
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}
} // namespace

DateTime DateTime::fromParts(int year, int month, int day, int hour, int minute, int second) {
    long long days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kOleEpoch;
    double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    return DateTime{Valid, compose(days, fraction)};
}

DateTime DateTime::now() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return fromParts(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

bool toCivil(double value, CivilTime& out) {
    if (!(value >= kMinValue && value < kMaxValue))
        return false;
    double whole = std::trunc(value);
    long long days = static_cast<long long>(whole);
    long long secs = std::llround(std::fabs(value - whole) * 86400.0);
    if (secs >= 86400) {
        secs -= 86400;
        ++days;
    }
    civilFromDays(days + kOleEpoch, out.year, out.month, out.day);
    out.hour = static_cast<int>(secs / 3600);
    out.minute = static_cast<int>(secs / 60 % 60);
    out.second = static_cast<int>(secs % 60);
    return true;
}

DateTime withDate(const DateTime& dt, int year, int month, int day) {
    double fraction = 0.0;
    if (std::isfinite(dt.value))
        fraction = std::fabs(dt.value - std::trunc(dt.value));
    long long days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kOleEpoch;
    return DateTime{dt.status, compose(days, fraction)};
}

std::string formatDatum(const DateTime& dt) {
    CivilTime c;
    if (!toCivil(dt.value, c))
        return "00.00.0000";
    // Always ten characters for a date toCivil accepts; the size covers any int the compiler assumes.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", c.day, c.month, c.year);
    return buf;
}

double timeLine(double value) {
    if (value >= 0)
        return value;
    double c = std::ceil(value);
    return c - (value - c);
}

} // namespace velmaro
