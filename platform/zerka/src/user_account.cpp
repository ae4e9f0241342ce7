#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "zerka/zerka_user_account.h"

namespace {

class UserAccount : public ZerkaUserAccount {
 public:
  bool IsAdministrator() override {
    // ZERKA_ADMIN lets tests and unprivileged development runs choose the answer.
    if (const char* forced = std::getenv("ZERKA_ADMIN")) {
      if (std::strcmp(forced, "1") == 0) return true;
      if (std::strcmp(forced, "0") == 0) return false;
    }
    return geteuid() == 0;
  }
};

}  // namespace

ZerkaUserAccount* CreatUserAccountInstance() { return new UserAccount; }

void ReleaseUserAccountInstance(ZerkaUserAccount* account) { delete account; }
