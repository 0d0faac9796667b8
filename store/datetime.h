#pragma once
// Date and time of an article: an OLE Automation date (days since 30 December 1899, local time,
// the fraction being the time of day) with a status word, as the article file stores it.

#include <cstdint>
#include <string>

namespace velmaro {

struct DateTime {
    enum Status : std::int32_t { Valid = 0, Invalid = 1, Null = 2 };

    std::int32_t status = Valid;
    double value = 0.0;

    static DateTime now();
    static DateTime fromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

    bool operator==(const DateTime&) const = default;
};

struct CivilTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// False for values outside the years 100 to 9999 (and NaN).
bool toCivil(double value, CivilTime& out);

// The same point in time on another calendar day: only the date changes, the time of day stays.
DateTime withDate(const DateTime& dt, int year, int month, int day);

// "%d.%m.%Y": always ten characters; "00.00.0000" for a value no calendar can show.
std::string formatDatum(const DateTime& dt);

// The value on a continuous time line (negative OLE dates count their fraction forward).
double timeLine(double value);

// True when a is strictly later than b.
inline bool isLater(const DateTime& a, const DateTime& b) {
    return timeLine(a.value) > timeLine(b.value);
}

} // namespace velmaro
