// The exported entry points: one engine per process, shared by the host and its plug-ins.
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "morva_service/diagnostics.h"
#include "morva_service/morva_service.h"
#include "service.h"
#include "support.h"
#include "zerka/zerka.h"

namespace {

std::mutex instance_mutex;
morva_service::detail::Service* instance = nullptr;
int use_count = 0;
std::string last_error;
std::string last_printed;

std::string CataloguePath() {
  const char* path = std::getenv("MORVA_CATALOGUE");
  if (path && *path) return path;
  return get_filesystem()->ApplicationDirectory() + "/morva_catalogue.json";
}

bool TimeScale(double& scale, std::string& error) {
  scale = 1;
  const char* text = std::getenv("MORVA_TIME_SCALE");
  if (!text || !*text) return true;
  if (!get_number_handler()->ToDouble(text, scale) || scale < 0) {
    error = std::string("MORVA_TIME_SCALE: \"") + text + "\" is not a number of 0 or more";
    return false;
  }
  return true;
}

morva_service::detail::Service* Create(std::string& error) {
  double scale = 1;
  if (!TimeScale(scale, error)) return nullptr;
  morva_service::detail::Catalogue catalogue;
  std::string path = CataloguePath();
  if (!morva_service::detail::LoadCatalogue(path, catalogue, error)) return nullptr;
  if (catalogue.service_unavailable) {
    error = path + ": faults.service_unavailable: the engine is switched off";
    return nullptr;
  }
  return new morva_service::detail::Service(std::move(catalogue), scale);
}

}  // namespace

morva_service::MorvaService* GetMorvaServiceInstance() {
  std::lock_guard<std::mutex> lock(instance_mutex);
  morva_service::detail::OpenTrace();
  morva_service::detail::Trace("GetMorvaServiceInstance");
  if (instance) {
    ++use_count;
    return instance;
  }
  std::string error;
  instance = Create(error);
  if (!instance) {
    last_error = error;
    // Hosts call again and again; say it once.
    if (error != last_printed) std::fprintf(stderr, "morva_service: %s\n", error.c_str());
    last_printed = error;
    morva_service::detail::Trace("GetMorvaServiceInstance failed: " + error);
    return nullptr;
  }
  last_error.clear();
  use_count = 1;
  return instance;
}

void ReleaseMorvaServiceInstance() {
  std::lock_guard<std::mutex> lock(instance_mutex);
  morva_service::detail::Trace("ReleaseMorvaServiceInstance");
  if (!instance || --use_count > 0) return;
  delete instance;
  instance = nullptr;
  use_count = 0;
}

std::string MorvaLastError() {
  std::lock_guard<std::mutex> lock(instance_mutex);
  return last_error;
}

void MorvaResetForTests() {
  std::lock_guard<std::mutex> lock(instance_mutex);
  delete instance;
  instance = nullptr;
  use_count = 0;
  last_error.clear();
  last_printed.clear();
  // The next instance may trace elsewhere.
  morva_service::detail::CloseTrace();
}
