#pragma once

#include <string>

// The machine's identification.
class Bios {
 public:
  virtual ~Bios() = default;
  virtual std::string model() const = 0;
  virtual std::string serial_number() const = 0;
  virtual std::string system_vendor() const = 0;
  virtual std::string system_manufacturer() const = 0;
  virtual std::string bios_version() const = 0;
  virtual std::string processor_label() const = 0;
  virtual std::string processor_manufacturer() const = 0;
};

// Null when the machine's data cannot be read (or ZERKA_NO_BIOS=1). Read from
// /sys/class/dmi/id and /proc/cpuinfo, or from the folder $ZERKA_BIOS_DIR holding files of the
// same names; a value whose file cannot be read is empty.
Bios* get_bios();
