// The bad-sector plug-in's own console writer: display keys turned into text by its own rule,
// the spinner, the elapsed-time ticker, the per-device reports and the device listing.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class MdrUtils;

// '|' makes the next letter a capital, every other letter is lower case, '_' and ' ' give a
// blank, and "^...$" is copied as typed.
std::string FormatDisplayKey(const std::string& key, bool capital_first = false);

// The part of a display key that FormatDisplayKey gives back exactly as text is, whatever marks
// it holds: a '$' closes the verbatim run, so it is written outside it.
std::string VerbatimKey(const std::string& text);

// "1 hour 2 minute \bs 5 seconds": the backspace turns the singular into a plural on a terminal.
std::string ElapsedText(unsigned long seconds);

// Items joined with ", ", five to a line.
std::string JoinBadSectors(const std::vector<std::string>& items);

class ConsoleDisplay {
 public:
  ConsoleDisplay(bool bootable, std::ostream& out);

  void Spinner();
  void WipeSpinner();
  void Wipe();
  void Banner();
  void Warnings(const std::vector<std::string>& warnings);
  void Errors(const std::vector<std::string>& errors);
  void InstructionsHint();
  void Usage();
  void OperationStart(const std::string& operation);
  void DeviceStart(const std::string& display_name);
  void PartitionStart(const std::string& partition, const std::string& file_system);
  void Ticker(unsigned long seconds);
  void PartitionReport(const std::string& partition, int code, unsigned long seconds,
                       const std::string& summary);
  void DeviceReport(int code, unsigned long seconds, const std::vector<std::string>& sectors,
                    const std::string& bad_sectors, const std::string& operation);
  void OperationFinish();
  void NoDevices();
  void Text(const std::string& text);
  // Whether everything written so far reached the output.
  bool Shown();
  // The devices the model has selected, one per line.
  void RepairTargets(MdrUtils& model);
  // With target words only the chosen devices are listed.
  void ListDevices(MdrUtils& model, const std::vector<std::string>* chosen_ids);

  void set_progress(long progress) { progress_ = static_cast<int>(progress); }
  void set_pending_message(const std::string& message) { pending_message_ = message; }
  bool bootable() const { return bootable_; }

  static std::string PartitionStatusKey(int code);
  static std::string DeviceStatusKey(int code);

 private:
  void StatusAndElapsed(const std::string& status_key, unsigned long seconds);
  void Flush();

  char spinner_ = '-';
  int progress_ = 0;
  std::string pending_message_;
  std::string last_ticker_;
  bool bootable_;
  std::ostream& out_;
};
