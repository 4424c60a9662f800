// A fresh, empty settings hive for each test: a temporary file-backed hive natively, the real
// current-user registry (with the program's keys cleared) under Wine.
#pragma once

#include <memory>

#include "platform/registry_hive.h"

namespace veltrano::testing {

class TestHive {
 public:
  TestHive();
  ~TestHive();
  RegistryHive& Hive() { return *hive_; }
  // A second, independent hive: the local machine next to the current user.
  RegistryHive& OtherHive() { return *other_; }
  // The same storage opened again, as a later run of the program would see it.
  std::unique_ptr<RegistryHive> Reopen();

 private:
  std::unique_ptr<RegistryHive> hive_;
  std::unique_ptr<RegistryHive> other_;
};

}  // namespace veltrano::testing
