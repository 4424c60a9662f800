#include "platform/posix/proc_interface_source.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace veltrano {
namespace {

TEST(ProcInterfaceSource, ListsInterfacesButNotLoopbackAndReportsFull64BitCounters) {
  ProcInterfaceSource real;
  std::vector<AdapterRecord> adapters;
  ASSERT_TRUE(real.GetAdaptersInfo(adapters));
  for (const auto& adapter : adapters) EXPECT_NE(adapter.name, "lo");
  if (adapters.empty()) GTEST_SKIP() << "no interface besides loopback";

  const std::string fake = ::testing::TempDir() + "/net_dev_" + std::to_string(getpid());
  std::ofstream(fake) << "Inter-|   Receive\n face |bytes\n"
                      << "  " << adapters[0].name << ": 4294967396 1 0 0 0 0 0 0 8589934593 1 0 0 0 0 0 0\n";
  ProcInterfaceSource source(fake);
  InterfaceRow row;
  ASSERT_TRUE(source.GetIfEntry(adapters[0].index, row));
  EXPECT_TRUE(row.wideCounters);
  EXPECT_EQ(row.inOctets, 4294967396u);
  EXPECT_EQ(row.outOctets, 8589934593u);
  EXPECT_EQ(row.description, adapters[0].name);
  EXPECT_FALSE(source.GetIfEntry(0x7FFFFFF0, row));
  std::remove(fake.c_str());
}

}  // namespace
}  // namespace veltrano
