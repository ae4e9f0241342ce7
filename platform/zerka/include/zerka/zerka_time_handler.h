#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Date conversions; independent of the process locale.
class ZerkaTimeHandler {
 public:
  virtual ~ZerkaTimeHandler() = default;
  // Reads the one date-time form the diagnostics log uses, "YYYY-MM-DDThh.mm.ss" (UTC), with
  // every field checked. false on anything else.
  virtual bool ParseDateTime(const std::string& text, struct tm& time) = 0;
  // Seconds since 1970 of a broken-down UTC time.
  virtual int64_t ToTime(const struct tm& time) = 0;
  // The form ParseDateTime reads, for seconds since 1970; empty outside the years 0 to 9999.
  virtual std::string FormatDateTime(int64_t seconds) = 0;
};

// The process-wide object, never freed.
ZerkaTimeHandler* get_time_handler();
