// Win32 test hives: the real registry of the test prefix. The program's keys and the Run value
// are removed before and after each test.
#include "fakes/test_hive.h"
#include "platform/win32/win32_registry_hive.h"

namespace veltrano::testing {
namespace {

void Clear(RegistryHive& hive) {
  hive.DeleteKeyTree("Software\\Veltrano");
  hive.DeleteValue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Veltrano");
  hive.DeleteKeyTree("Software\\VeltranoTests");
}

}  // namespace

TestHive::TestHive()
    : hive_(std::make_unique<Win32RegistryHive>(RegistryRoot::kCurrentUser)),
      other_(std::make_unique<Win32RegistryHive>(RegistryRoot::kLocalMachine)) {
  Clear(*hive_);
  Clear(*other_);
}

TestHive::~TestHive() {
  Clear(*hive_);
  Clear(*other_);
}

std::unique_ptr<RegistryHive> TestHive::Reopen() { return std::make_unique<Win32RegistryHive>(RegistryRoot::kCurrentUser); }

}  // namespace veltrano::testing
