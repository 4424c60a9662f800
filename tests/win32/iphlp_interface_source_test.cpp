#include "platform/win32/iphlp_interface_source.h"

#include <gtest/gtest.h>

#include "engine/adapter_table.h"

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

TEST(IphlpInterfaceSource, FailsEveryCallBeforeBinding) {
  IphlpInterfaceSource source;
  std::vector<AdapterRecord> adapters;
  EXPECT_FALSE(source.GetAdaptersInfo(adapters));
}

}  // namespace
}  // namespace veltrano
