#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "zerka/bios.h"

namespace {

struct Field {
  std::string value;
  bool readable = false;
};

std::string Trimmed(std::string text) {
  std::string::size_type end = text.find_last_not_of(" \t\r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
  std::string::size_type begin = text.find_first_not_of(" \t");
  return begin == std::string::npos ? std::string() : text.substr(begin);
}

Field ReadFirstLine(const std::string& path) {
  Field field;
  std::ifstream in(path);
  if (!in) return field;
  field.readable = true;
  std::getline(in, field.value);
  field.value = Trimmed(field.value);
  return field;
}

// Values of the first "key : value" lines naming the processor.
bool ReadCpuInfo(const std::string& path, std::string& label, std::string& maker) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line) && (label.empty() || maker.empty())) {
    std::string::size_type colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string key = Trimmed(line.substr(0, colon));
    std::string value = Trimmed(line.substr(colon + 1));
    if (key == "model name" && label.empty()) label = value;
    if (key == "vendor_id" && maker.empty()) maker = value;
  }
  return true;
}

class BiosRecord : public Bios {
 public:
  std::string model() const override { return model_; }
  std::string serial_number() const override { return serial_; }
  std::string system_vendor() const override { return vendor_; }
  std::string system_manufacturer() const override { return vendor_; }
  std::string bios_version() const override { return bios_version_; }
  std::string processor_label() const override { return processor_label_; }
  std::string processor_manufacturer() const override { return processor_maker_; }

  // Null when no source at all could be read.
  static std::unique_ptr<BiosRecord> Read(const std::string& dmi_dir, const std::string& cpuinfo) {
    auto record = std::make_unique<BiosRecord>();
    Field model = ReadFirstLine(dmi_dir + "/product_name");
    Field serial = ReadFirstLine(dmi_dir + "/product_serial");
    Field vendor = ReadFirstLine(dmi_dir + "/sys_vendor");
    Field version = ReadFirstLine(dmi_dir + "/bios_version");
    bool cpu = ReadCpuInfo(cpuinfo, record->processor_label_, record->processor_maker_);
    if (!model.readable && !serial.readable && !vendor.readable && !version.readable && !cpu)
      return nullptr;
    record->model_ = model.value;
    record->serial_ = serial.value;
    record->vendor_ = vendor.value;
    record->bios_version_ = version.value;
    return record;
  }

 private:
  std::string model_, serial_, vendor_, bios_version_, processor_label_, processor_maker_;
};

}  // namespace

Bios* get_bios() {
  if (const char* none = std::getenv("ZERKA_NO_BIOS"); none && std::strcmp(none, "1") == 0)
    return nullptr;
  const char* folder = std::getenv("ZERKA_BIOS_DIR");
  std::string source = folder && *folder ? folder : std::string();
  // One record per source, read once and kept for the life of the process.
  static std::mutex mutex;
  static auto* records = new std::map<std::string, std::unique_ptr<BiosRecord>>;
  std::lock_guard<std::mutex> lock(mutex);
  auto found = records->find(source);
  if (found == records->end()) {
    std::unique_ptr<BiosRecord> record =
        source.empty() ? BiosRecord::Read("/sys/class/dmi/id", "/proc/cpuinfo")
                       : BiosRecord::Read(source, source + "/cpuinfo");
    found = records->emplace(source, std::move(record)).first;
  }
  return found->second.get();
}
