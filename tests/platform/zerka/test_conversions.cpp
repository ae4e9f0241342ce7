#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "tests/support/scratch.h"
#include "zerka/zerka.h"

namespace {

// A locale whose decimal separator is a comma; compiled into the scratch folder when the system
// has none installed. Empty when neither works.
std::string UseCommaLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
    if (const char* set = std::setlocale(LC_ALL, name)) return set;
  std::string dir = test_support::ScratchDir("locales");
  std::string command = "localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
  if (dir.empty() || std::system(command.c_str()) != 0) return std::string();
  setenv("LOCPATH", dir.c_str(), 1);
  const char* set = std::setlocale(LC_ALL, "de_DE.UTF-8");
  return set ? set : std::string();
}

TEST(Numbers, WholeTokensOnly) {
  ZerkaNumberHandler* n = get_number_handler();
  int64_t i = 7;
  EXPECT_TRUE(n->ToInt64("-42", i));
  EXPECT_EQ(i, -42);
  EXPECT_TRUE(n->ToInt64("9223372036854775807", i));
  EXPECT_EQ(i, std::numeric_limits<int64_t>::max());
  EXPECT_TRUE(n->ToInt64("-9223372036854775808", i));
  EXPECT_EQ(i, std::numeric_limits<int64_t>::min());
  i = 7;
  for (const char* bad : {"", " 1", "1 ", "1x", "0x10", "1.5", "+", "-", "9223372036854775808",
                          "-9223372036854775809", "99999999999999999999"}) {
    EXPECT_FALSE(n->ToInt64(bad, i)) << '"' << bad << '"';
    EXPECT_EQ(i, 7) << "value changed by a failed conversion of " << bad;
  }

  double d = 0;
  EXPECT_TRUE(n->ToDouble("68.5", d));
  EXPECT_DOUBLE_EQ(d, 68.5);
  EXPECT_TRUE(n->ToDouble("-1e3", d));
  EXPECT_DOUBLE_EQ(d, -1000.0);
  EXPECT_TRUE(n->ToDouble("12", d));
  EXPECT_DOUBLE_EQ(d, 12.0);
  d = 3;
  for (const char* bad : {"", " 1.5", "1.5 ", "1,5", "1.5s", "nan", "NAN", "inf", "-inf",
                          "infinity", "1e400", "-1e400", "0x1p3", "."}) {
    EXPECT_FALSE(n->ToDouble(bad, d)) << '"' << bad << '"';
    EXPECT_EQ(d, 3) << "value changed by a failed conversion of " << bad;
  }
}

TEST(Numbers, TextUsesAPointWhateverTheLocale) {
  ZerkaNumberHandler* n = get_number_handler();
  EXPECT_EQ(n->ToString(-1234567890123LL), "-1234567890123");
  EXPECT_EQ(n->ToString(68.25, 1), "68.2");
  EXPECT_EQ(n->ToString(2.0, 3), "2.000");
  EXPECT_EQ(n->ToString(7.6, 0), "8");
  EXPECT_EQ(n->ToString(1.5, -2), "2");

  std::string locale = UseCommaLocale();
  if (locale.empty()) GTEST_SKIP() << "no locale with a decimal comma available";
  ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
  double d = 0;
  EXPECT_TRUE(n->ToDouble("68.5", d));
  EXPECT_DOUBLE_EQ(d, 68.5);
  EXPECT_FALSE(n->ToDouble("68,5", d));
  EXPECT_EQ(n->ToString(68.5, 2), "68.50");
  EXPECT_EQ(n->ToString(1234567LL), "1234567");
  std::setlocale(LC_ALL, "C");
}

TEST(DateTime, RoundTripsTheLogForm) {
  ZerkaTimeHandler* t = get_time_handler();
  struct tm parsed = {};
  ASSERT_TRUE(t->ParseDateTime("2024-02-29T23.59.59", parsed));
  EXPECT_EQ(parsed.tm_year, 124);
  EXPECT_EQ(parsed.tm_mon, 1);
  EXPECT_EQ(parsed.tm_mday, 29);
  EXPECT_EQ(parsed.tm_hour, 23);
  EXPECT_EQ(parsed.tm_min, 59);
  EXPECT_EQ(parsed.tm_sec, 59);
  EXPECT_EQ(parsed.tm_wday, 4);  // a Thursday
  EXPECT_EQ(parsed.tm_yday, 59);
  EXPECT_EQ(t->ToTime(parsed), 1709251199);
  EXPECT_EQ(t->FormatDateTime(1709251199), "2024-02-29T23.59.59");

  for (int64_t seconds : {int64_t{0}, int64_t{951782400}, int64_t{4102444799}, int64_t{-1}})
    ASSERT_TRUE(t->ParseDateTime(t->FormatDateTime(seconds), parsed)) << seconds;
  EXPECT_EQ(t->FormatDateTime(-1), "1969-12-31T23.59.59");
  EXPECT_EQ(t->FormatDateTime(253402300800), "");  // year 10000 has no such form
}

TEST(DateTime, ToTimeIgnoresTheTimeZoneAndCarriesOverlongFields) {
  ZerkaTimeHandler* t = get_time_handler();
  setenv("TZ", "America/New_York", 1);
  tzset();
  struct tm parsed = {};
  ASSERT_TRUE(t->ParseDateTime("1970-01-02T00.00.00", parsed));
  EXPECT_EQ(t->ToTime(parsed), 86400);
  parsed.tm_mon = 12;  // January of the next year...
  parsed.tm_mday = 32;  // ...rolling into February...
  parsed.tm_hour = -1;  // ...and back to the evening before
  struct tm copy = parsed;
  EXPECT_EQ(t->ToTime(parsed), 34210800);  // 1971-01-31 23:00:00 UTC
  EXPECT_EQ(t->ToTime(parsed), static_cast<int64_t>(timegm(&copy)));
  EXPECT_EQ(parsed.tm_mon, 12) << "the record given must stay as it is";
  unsetenv("TZ");
  tzset();
}

TEST(DateTime, RejectsEverythingButTheOneForm) {
  ZerkaTimeHandler* t = get_time_handler();
  struct tm parsed = {};
  parsed.tm_year = 99;
  for (const char* bad :
       {"2023-02-29T10.00.00", "2024-02-30T10.00.00", "2024-04-31T10.00.00", "2024-13-01T10.00.00",
        "2024-00-10T10.00.00", "2024-01-00T10.00.00", "2024-01-01T24.00.00", "2024-01-01T10.60.00",
        "2024-01-01T10.00.60", "2024-01-01T10:00:00", "2024-01-01 10.00.00", "2024-01-01T10.00.00 ",
        " 2024-01-01T10.00.00", "2024-1-01T10.00.00", "2024-01-01T10.00.0", "+024-01-01T10.00.00",
        "2024-01-01T1-.00.00", "", "1900-02-29T00.00.00"}) {
    EXPECT_FALSE(t->ParseDateTime(bad, parsed)) << '"' << bad << '"';
  }
  EXPECT_EQ(parsed.tm_year, 99) << "a rejected text changed the record";
  EXPECT_TRUE(t->ParseDateTime("2000-02-29T00.00.00", parsed));
}

TEST(Text, TrimAndLower) {
  ZerkaStringHandler* s = get_string_handler();
  std::string out = "old";
  s->Trim(" \t\r\n a b \r\n", out);
  EXPECT_EQ(out, "a b");
  s->Trim(" \t ", out);
  EXPECT_EQ(out, "");
  std::string same = "x";
  s->Trim(same, same);
  EXPECT_EQ(same, "x");
  std::string text = "MENDRA_Gui-\xc3\x84Z";
  s->ToLower(text);
  EXPECT_EQ(text, "mendra_gui-\xc3\x84z");
}

}  // namespace
