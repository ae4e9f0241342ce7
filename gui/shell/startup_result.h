#pragma once

#include <QString>

class ZerkaAppMutex;

namespace morva_service {
class MorvaService;
}

// Outcome of the start-up checks. On success the lock and the service are held for the run.
struct StartupResult {
  enum Check : int {
    kNone = 0,
    kResourceFile,
    kLanguageFile,
    kAdministrator,
    kSingleInstance,
    kService,
  };
  bool ok = false;
  Check failed = kNone;
  QString title;
  QString text;
  ZerkaAppMutex* lock = nullptr;
  morva_service::MorvaService* service = nullptr;
};
