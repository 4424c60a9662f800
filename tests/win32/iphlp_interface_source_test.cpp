#include "platform/win32/iphlp_interface_source.h"

#include <gtest/gtest.h>

#include "engine/adapter_table.h"

// After the table: the system headers define "interface" as a keyword of their own.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

namespace veltrano {
namespace {

TEST(IphlpInterfaceSource, BindsAndReadsARowForEveryAdapter) {
  IphlpInterfaceSource source;
  ASSERT_TRUE(source.Bind());
  std::vector<AdapterRecord> adapters;
  ASSERT_TRUE(source.GetAdaptersInfo(adapters));
  for (const auto& adapter : adapters) {
    InterfaceRow row;
    ASSERT_TRUE(source.GetIfEntry(adapter.index, row)) << adapter.name;
    EXPECT_FALSE(InterfaceDescription(row).empty());
    EXPECT_LE(adapter.addressLength, 8u);
  }
  InterfaceRow row;
  EXPECT_FALSE(source.GetIfEntry(0x7FFFFFF0, row));
}

// The 64-bit table and GetIfEntry describe the same interfaces; the wide counters' low 32 bits
// are the narrow counters (read just after them, so at most a little ahead).
TEST(IphlpInterfaceSource, WideAndNarrowCountersDescribeTheSameInterfaces) {
  IphlpInterfaceSource wide;
  IphlpInterfaceSource narrow(false);
  ASSERT_TRUE(wide.Bind() && narrow.Bind());
  if (!wide.HasWideCounters()) GTEST_SKIP() << "no 64-bit interface table here";
  EXPECT_FALSE(narrow.HasWideCounters());
  std::vector<AdapterRecord> adapters, again;
  ASSERT_TRUE(narrow.GetAdaptersInfo(adapters));
  for (const auto& adapter : adapters) {
    InterfaceRow before, after;
    ASSERT_TRUE(narrow.GetIfEntry(adapter.index, before));
    ASSERT_TRUE(wide.GetAdaptersInfo(again));
    ASSERT_TRUE(wide.GetIfEntry(adapter.index, after)) << adapter.name;
    EXPECT_FALSE(before.wideCounters);
    EXPECT_TRUE(after.wideCounters);
    EXPECT_EQ(after.type, before.type);
    EXPECT_EQ(InterfaceDescription(after), InterfaceDescription(before));
    EXPECT_LE(before.inOctets, 0xFFFFFFFFu);
    EXPECT_LT(static_cast<std::uint32_t>(after.inOctets - before.inOctets), 1u << 24);
    EXPECT_LT(static_cast<std::uint32_t>(after.outOctets - before.outOctets), 1u << 24);
  }
  InterfaceRow row;
  EXPECT_FALSE(wide.GetIfEntry(0x7FFFFFF0, row));
}

TEST(IphlpInterfaceSource, FailsEveryCallBeforeBinding) {
  IphlpInterfaceSource source;
  std::vector<AdapterRecord> adapters;
  EXPECT_FALSE(source.GetAdaptersInfo(adapters));
}

// GetAdaptersInfo's answers scripted: ERROR_NO_DATA to the size query when no adapter is left, or
// a list that grew between the size query and the call.
class ScriptedAdaptersInfo : public IphlpInterfaceSource {
 public:
  explicit ScriptedAdaptersInfo(unsigned long answer) : answer_(answer) {}

 protected:
  unsigned long CallGetAdaptersInfo(void* buffer, unsigned long* size) override {
    if (answer_ == ERROR_NO_DATA) return ERROR_NO_DATA;
    if (!buffer) *size = sizeof(IP_ADAPTER_INFO);
    return ERROR_BUFFER_OVERFLOW;
  }

 private:
  unsigned long answer_;
};

TEST(IphlpInterfaceSource, NoAdapterLeftIsAnEmptyListAndAGrownListAFailedPass) {
  ScriptedAdaptersInfo none(ERROR_NO_DATA);
  ASSERT_TRUE(none.Bind());
  std::vector<AdapterRecord> adapters(1);
  EXPECT_TRUE(none.GetAdaptersInfo(adapters));
  EXPECT_TRUE(adapters.empty());
  ScriptedAdaptersInfo grown(ERROR_BUFFER_OVERFLOW);
  ASSERT_TRUE(grown.Bind());
  EXPECT_FALSE(grown.GetAdaptersInfo(adapters));
}

}  // namespace
}  // namespace veltrano
