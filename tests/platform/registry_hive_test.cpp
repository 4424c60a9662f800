// Behaviour every RegistryHive must share; runs against the file store natively and the real
// registry under Wine.
#include "platform/registry_hive.h"

#include <gtest/gtest.h>

#include "fakes/test_hive.h"

#ifndef _WIN32
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/posix/file_registry_hive.h"
#endif

namespace veltrano {
namespace {

const std::string kKey = "Software\\VeltranoTests\\Hive";

class RegistryHiveTest : public ::testing::Test {
 protected:
  testing::TestHive hives_;
  RegistryHive& hive_ = hives_.Hive();
};

TEST_F(RegistryHiveTest, KeepsTypesAndBytesOfValues) {
  ASSERT_TRUE(hive_.CreateKey(kKey + "\\Deep\\Er"));
  EXPECT_TRUE(hive_.KeyExists(kKey + "\\Deep"));
  const RegValue binary{kRegBinary, Bytes{0, 1, 2, 255}};
  const RegValue empty{kRegBinary, {}};
  const RegValue dword{kRegDword, Bytes{4, 3, 2, 1}};
  ASSERT_TRUE(hive_.SetValue(kKey, "Bin", binary));
  ASSERT_TRUE(hive_.SetValue(kKey, "Empty", empty));
  ASSERT_TRUE(hive_.SetValue(kKey, "Dw", dword));
  RegValue read;
  ASSERT_TRUE(hive_.QueryValue(kKey, "bin", read));  // names ignore case
  EXPECT_EQ(read.type, kRegBinary);
  EXPECT_EQ(read.data, binary.data);
  ASSERT_TRUE(hive_.QueryValue(kKey, "Empty", read));
  EXPECT_TRUE(read.data.empty());
  ASSERT_TRUE(hive_.QueryValue(kKey, "DW", read));
  EXPECT_EQ(read.type, kRegDword);
  EXPECT_EQ(read.data, dword.data);
  EXPECT_FALSE(hive_.QueryValue(kKey, "Missing", read));
}

TEST_F(RegistryHiveTest, RefusesValuesOnKeysThatDoNotExist) {
  EXPECT_FALSE(hive_.SetValue(kKey + "\\Nowhere", "X", {kRegDword, Bytes(4, 0)}));
  EXPECT_FALSE(hive_.KeyExists(kKey + "\\Nowhere"));
}

TEST_F(RegistryHiveTest, EnumeratesSubkeysByNameAndEveryValueOnce) {
  for (const char* name : {"300-B", "200-", "100-", "300-a"}) ASSERT_TRUE(hive_.CreateKey(kKey + "\\" + name));
  std::vector<std::string> keys;
  ASSERT_TRUE(hive_.EnumerateSubkeys(kKey, keys));
  EXPECT_EQ(keys, (std::vector<std::string>{"100-", "200-", "300-a", "300-B"}));

  for (const char* name : {"Report1", "Report2", "Report3"}) ASSERT_TRUE(hive_.SetValue(kKey, name, {kRegBinary, {1}}));
  ASSERT_TRUE(hive_.SetValue(kKey, "REPORT2", {kRegBinary, {2}}));  // replaces, keeping the stored name
  std::vector<NamedRegValue> values;
  ASSERT_TRUE(hive_.EnumerateValues(kKey, values));
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0].name, "Report1");
  EXPECT_EQ(values[1].name, "Report2");
  EXPECT_EQ(values[1].value.data, Bytes{2});
  EXPECT_EQ(values[2].name, "Report3");
}

TEST_F(RegistryHiveTest, DeletesValuesAndWholeTrees) {
  ASSERT_TRUE(hive_.CreateKey(kKey + "\\A\\B"));
  ASSERT_TRUE(hive_.SetValue(kKey + "\\A\\B", "V", {kRegSz, EncodeUtf16Bytes("x")}));
  ASSERT_TRUE(hive_.SetValue(kKey, "W", {kRegDword, Bytes(4, 0)}));
  EXPECT_TRUE(hive_.DeleteValue(kKey, "w"));
  EXPECT_FALSE(hive_.DeleteValue(kKey, "w"));
  EXPECT_TRUE(hive_.DeleteKeyTree(kKey + "\\a"));
  EXPECT_FALSE(hive_.KeyExists(kKey + "\\A\\B"));
  EXPECT_FALSE(hive_.DeleteKeyTree(kKey + "\\A"));
  std::vector<std::string> keys;
  EXPECT_FALSE(hive_.EnumerateSubkeys(kKey + "\\A", keys));
}

TEST_F(RegistryHiveTest, KeepsEverythingForTheNextRun) {
  ASSERT_TRUE(hive_.CreateKey(kKey + "\\Sub"));
  ASSERT_TRUE(hive_.SetValue(kKey, "Name with spaces", {kRegSz, EncodeUtf16Bytes("\xC3\xA9t\xC3\xA9")}));
  ASSERT_TRUE(hive_.SetValue(kKey, "Second", {kRegBinary, {}}));
  auto reopened = hives_.Reopen();
  RegValue read;
  ASSERT_TRUE(reopened->QueryValue(kKey, "Name with spaces", read));
  EXPECT_EQ(DecodeUtf16Bytes(read.data), "\xC3\xA9t\xC3\xA9");
  std::vector<NamedRegValue> values;
  ASSERT_TRUE(reopened->EnumerateValues(kKey, values));
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[1].name, "Second");
  EXPECT_TRUE(reopened->KeyExists(kKey + "\\Sub"));
}

#ifndef _WIN32
// The file store frees and writes its tree recursively; a file may name a key of any depth.
TEST(FileRegistryHive, RefusesKeysDeeperThanTheRegistryAllows) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("veltrano-deep-" + std::to_string(::getpid()) + ".reg")).string();
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    std::string deep = "K Software";
    for (int level = 0; level < 300000; ++level) deep += "\\k";
    file << deep << "\nV 4 01000000 Deep\nK Software\\Kept\nV 4 02000000 Here\n";
  }
  {
    FileRegistryHive hive(path);
    RegValue value;
    EXPECT_TRUE(hive.QueryValue("Software\\Kept", "Here", value));
    EXPECT_FALSE(hive.KeyExists("Software\\k"));
    std::string limit = "Software";
    for (int level = 1; level < 512; ++level) limit += "\\k";
    EXPECT_TRUE(hive.CreateKey(limit));
    EXPECT_FALSE(hive.CreateKey(limit + "\\k"));
  }
  FileRegistryHive reopened(path);
  EXPECT_TRUE(reopened.KeyExists("Software\\k\\k"));
  std::remove(path.c_str());
  std::remove((path + ".tmp").c_str());
}
#endif

}  // namespace
}  // namespace veltrano
