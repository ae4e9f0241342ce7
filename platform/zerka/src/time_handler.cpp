#include <cstdio>
#include <ctime>
#include <string>

#include "zerka/zerka_time_handler.h"

namespace {

// Civil-calendar arithmetic on the proleptic Gregorian calendar, free of the time zone.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t year_of_era = year - era * 400;
  const int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

void CivilFromDays(int64_t days, int64_t& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t day_of_era = days - era * 146097;
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t mp = (5 * day_of_year + 2) / 153;
  day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = year_of_era + era * 400 + (month <= 2);
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

bool ReadDigits(const std::string& text, size_t at, size_t count, int& value) {
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

class TimeHandler : public ZerkaTimeHandler {
 public:
  // "YYYY-MM-DDThh.mm.ss"
  bool ParseDateTime(const std::string& text, struct tm& time) override {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != '.' || text[16] != '.')
      return false;
    int year, month, day, hour, minute, second;
    if (!ReadDigits(text, 0, 4, year) || !ReadDigits(text, 5, 2, month) ||
        !ReadDigits(text, 8, 2, day) || !ReadDigits(text, 11, 2, hour) ||
        !ReadDigits(text, 14, 2, minute) || !ReadDigits(text, 17, 2, second))
      return false;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59)
      return false;
    struct tm parsed = {};
    parsed.tm_year = year - 1900;
    parsed.tm_mon = month - 1;
    parsed.tm_mday = day;
    parsed.tm_hour = hour;
    parsed.tm_min = minute;
    parsed.tm_sec = second;
    parsed.tm_isdst = 0;
    int64_t days = DaysFromCivil(year, month, day);
    parsed.tm_wday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    parsed.tm_yday = static_cast<int>(days - DaysFromCivil(year, 1, 1));
    time = parsed;
    return true;
  }

  int64_t ToTime(const struct tm& time) override {
    // Fields out of their range carry over, as timegm does.
    int64_t months = static_cast<int64_t>(time.tm_year) * 12 + time.tm_mon;
    int64_t year = FloorDiv(months, 12) + 1900;
    int64_t month = months - FloorDiv(months, 12) * 12 + 1;
    int64_t days = DaysFromCivil(year, month, 1) + time.tm_mday - 1;
    return days * 86400 + static_cast<int64_t>(time.tm_hour) * 3600 +
           static_cast<int64_t>(time.tm_min) * 60 + time.tm_sec;
  }

  std::string FormatDateTime(int64_t seconds) override {
    int64_t days = FloorDiv(seconds, 86400);
    int64_t rest = seconds - days * 86400;
    int64_t year;
    int month, day;
    CivilFromDays(days, year, month, day);
    // Only four-digit years have a form that ParseDateTime reads back.
    if (year < 0 || year > 9999) return std::string();
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d.%02d.%02d", static_cast<int>(year),
                  month, day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return buffer;
  }
};

}  // namespace

ZerkaTimeHandler* get_time_handler() {
  static TimeHandler* instance = new TimeHandler;
  return instance;
}
