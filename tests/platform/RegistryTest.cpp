#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Registry.h"
#include "support/TempFolder.h"

using namespace platform;

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write("registry.ini",
                 "[Software\\Grindlewood]\r\nBrakken=Installed\r\nEmpty=\r\n\r\n"
                 "[Software\\Other]\r\nBrakken=no\r\n");
    setenv("JBW_REGISTRY_FILE", folder.File("registry.ini").c_str(), 1);
  }
  void TearDown() override { unsetenv("JBW_REGISTRY_FILE"); }

  std::string Read(const std::string& key, const std::string& value) {
    return ReadRegistryString(HKEY_LOCAL_MACHINE, key, value);
  }

  TempFolder folder;
};

TEST_F(RegistryTest, ReadsStringValuesAndMissingPartsReadEmpty) {
  EXPECT_EQ(Read("\\Software\\Grindlewood", "Brakken"), "Installed");
  EXPECT_EQ(Read("software\\grindlewood", "BRAKKEN"), "Installed");
  EXPECT_EQ(Read("\\Software\\Other", "Brakken"), "no");
  EXPECT_EQ(Read("\\Software\\Grindlewood", "Missing"), "");
  EXPECT_EQ(Read("\\Software\\Grindlewood", "Empty"), "");
  EXPECT_EQ(Read("\\Software\\Nowhere", "Brakken"), "");

  setenv("JBW_REGISTRY_FILE", folder.File("absent.ini").c_str(), 1);
  EXPECT_EQ(Read("\\Software\\Grindlewood", "Brakken"), "");
  setenv("JBW_REGISTRY_FILE", folder.Path().c_str(), 1);  // a folder, not a file
  EXPECT_EQ(Read("\\Software\\Grindlewood", "Brakken"), "");
  setenv("JBW_REGISTRY_FILE", "", 1);
  EXPECT_EQ(RegistryFileName(), kDefaultRegistryFile);
}

TEST_F(RegistryTest, LinesMayEndInLineFeedCarriageReturnOrBoth) {
  for (const std::string end : {"\n", "\r\n", "\r"}) {
    folder.Write("registry.ini", "[Software\\Grindlewood]" + end + "Brakken=Installed" + end +
                                     "[Software\\Other]" + end + "Brakken=no");
    EXPECT_EQ(Read("\\Software\\Grindlewood", "Brakken"), "Installed") << end.size();
    EXPECT_EQ(Read("\\Software\\Other", "Brakken"), "no") << end.size();
  }
}

TEST_F(RegistryTest, WindowsShapedCallsReportSizesAndMissingKeys) {
  HKEY key = 0;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\Software\\Nowhere", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, 0u);
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\Software", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\Software\\Grindlewood", 0, KEY_READ, &key),
            ERROR_SUCCESS);

  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Brakken", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 10u);
  BYTE small[4];
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExA(key, "Brakken", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 10u);
  BYTE buffer[16];
  size = sizeof buffer;
  EXPECT_EQ(RegQueryValueExA(key, "Brakken", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
  EXPECT_STREQ(reinterpret_cast<char*>(buffer), "Installed");
  EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, buffer, &size),
            ERROR_FILE_NOT_FOUND);

  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryValueExA(key, "Brakken", nullptr, nullptr, buffer, &size),
            ERROR_INVALID_HANDLE);
}

}  // namespace
