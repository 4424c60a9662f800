// The service hand-over against Wine's real service manager and the real service program: a
// service that cannot start, or that stops because it cannot read the machine's settings, leaves
// the desktop writing the log and the service removed.
#include <gtest/gtest.h>
#include <windows.h>

#include "fakes/fake_clock.h"
#include "fakes/test_folder.h"
#include "fakes/test_hive.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_service_manager.h"
#include "settings/standalone_values.h"
#include "view/service_handover.h"

namespace veltrano {
namespace {

// The machine's hive as an unprivileged desktop sees it: every write is refused.
class ReadOnlyHive : public RegistryHive {
 public:
  explicit ReadOnlyHive(RegistryHive& hive) : hive_(hive) {}
  bool KeyExists(const std::string& key) override { return hive_.KeyExists(key); }
  bool CreateKey(const std::string&) override { return false; }
  bool QueryValue(const std::string& key, const std::string& name, RegValue& value) override {
    return hive_.QueryValue(key, name, value);
  }
  bool SetValue(const std::string&, const std::string&, const RegValue&) override { return false; }
  bool EnumerateSubkeys(const std::string& key, std::vector<std::string>& names) override {
    return hive_.EnumerateSubkeys(key, names);
  }
  bool EnumerateValues(const std::string& key, std::vector<NamedRegValue>& values) override {
    return hive_.EnumerateValues(key, values);
  }
  bool DeleteValue(const std::string&, const std::string&) override { return false; }
  bool DeleteKeyTree(const std::string&) override { return false; }

 private:
  RegistryHive& hive_;
};

std::string ServiceProgram() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::string self = Narrow(path, length);
  self = self.substr(0, self.find_last_of('\\'));
  return self.substr(0, self.find_last_of('\\') + 1) + "src\\PellacorService.exe";
}

std::uint32_t Dword(RegistryHive& hive, const std::string& key, const std::string& name) {
  RegValue value;
  if (!hive.QueryValue(key, name, value) || value.data.size() != 4) return 0xDEADBEEF;
  return value.data[0] | value.data[1] << 8 | value.data[2] << 16 | static_cast<std::uint32_t>(value.data[3]) << 24;
}

class ServiceHandoverWineTest : public ::testing::Test {
 protected:
  ServiceHandoverWineTest() {
    services_.Remove(kServiceName);
    clock_.Set(2026, 12, 8, 12, 0, 0);
    LogOpenOptions options;
    options.customPath = true;
    log_.Open(folder_.Path("qxrsum_v2.log"), options);
    settings_.trafficLogFile = log_.Path();
    rows_.resize(1);
    rows_.front().kind = kAllConnections;
    rows_.front().todayIn = 4242;
  }
  ~ServiceHandoverWineTest() override { services_.Remove(kServiceName); }

  HandoverOutcome Enable(SettingsStore& store, const std::string& program) {
    HandoverActions actions;
    actions.warn = [this](const std::string& text) { warnings_.push_back(text); };
    actions.pause = [](unsigned ms) { Sleep(ms); };
    ServiceHandover handover(services_, store, log_, clock_.now, folder_.Files(), actions);
    ServiceSettings page = settings_.service;
    page.serviceEnabled = 1;
    return handover.Apply(page, settings_, rows_, program);
  }

  void ExpectDesktopWritesAgain() {
    EXPECT_TRUE(log_.IsWriter());
    EXPECT_EQ(rows_.front().todayIn, 4242u);
    EXPECT_EQ(settings_.service.serviceEnabled, 0u);
    EXPECT_EQ(Dword(hives_.Hive(), "Software\\Veltrano\\Service", "ServiceEnabled"), 0u);
    EXPECT_EQ(services_.QueryState(kServiceName), ServiceState::kUnknown);  // removed
    ASSERT_EQ(warnings_.size(), 1u);
  }

  testing::TestHive hives_;
  testing::TestFolder folder_;
  testing::FakeClock clock_;
  Win32ServiceManager services_;
  TrafficLog log_{folder_.Files()};
  Settings settings_;
  AdapterList rows_;
  std::vector<std::string> warnings_;
};

TEST_F(ServiceHandoverWineTest, AServiceWhoseProgramIsGoneIsRemovedAndNamed) {
  // Installed earlier, then its program was deleted: the manager refuses to start it.
  const std::string gone = folder_.Path("PellacorService.exe");
  ASSERT_TRUE(services_.Install(gone, kServiceName, kServiceManagerDisplayName, true));
  SettingsStore store(hives_.Hive(), hives_.OtherHive());
  folder_.WriteAll("probe", "");
  EXPECT_EQ(Enable(store, gone), HandoverOutcome::kServiceFailed);
  ExpectDesktopWritesAgain();
  EXPECT_NE(warnings_[0].find("The service manager could not start it"), std::string::npos) << warnings_[0];
  EXPECT_EQ(Dword(hives_.OtherHive(), "Software\\Veltrano\\Service", "ServiceEnabled"), 0u);

  warnings_.clear();
  settings_.service.serviceEnabled = 0;
  EXPECT_EQ(Enable(store, gone), HandoverOutcome::kServiceFailed);  // not installed now: nothing to start
  EXPECT_NE(warnings_[0].find("was not found"), std::string::npos) << warnings_[0];
}

TEST_F(ServiceHandoverWineTest, AServiceThatCannotReadTheMachinesSettingsStopsAndIsRemoved) {
  ReadOnlyHive machine(hives_.OtherHive());
  SettingsStore store(hives_.Hive(), machine);
  EXPECT_EQ(Enable(store, ServiceProgram()), HandoverOutcome::kServiceFailed);
  ExpectDesktopWritesAgain();
  // Depending on how fast it gives up, the service is seen stopping during or right after its start.
  const bool stopped = warnings_[0].find("stopped while it was starting") != std::string::npos ||
                       warnings_[0].find("stopped again right after it started") != std::string::npos;
  EXPECT_TRUE(stopped) << warnings_[0];
  EXPECT_NE(warnings_[0].find("Service isn't enabled"), std::string::npos) << warnings_[0];
}

}  // namespace
}  // namespace veltrano
