#pragma once

// The rights of the user running the program.
class ZerkaUserAccount {
 public:
  virtual ~ZerkaUserAccount() = default;
  // The effective user is root; ZERKA_ADMIN=1 or =0 forces the answer.
  virtual bool IsAdministrator() = 0;
};

// Created on each call, given back through ReleaseUserAccountInstance.
ZerkaUserAccount* CreatUserAccountInstance();
void ReleaseUserAccountInstance(ZerkaUserAccount* account);
