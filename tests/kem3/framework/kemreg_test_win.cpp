// TKemRegistry against the real registry: keys Wine has, and values a test key
// holds in whatever shape a careless writer left them.
#include "kem3/framework/kemreg_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sysutils.h"
#include "platform/win_util_win.h"

namespace {

const char* const kNtCurrentVersion = "\\Software\\Microsoft\\Windows NT\\CurrentVersion";

// A key of the test's own under the current user with raw values; removed
// with everything in it afterwards. (The program itself never writes.)
class KemRegistryValues : public testing::Test {
 protected:
  void SetUp() override {
    Path = "Software\\OrvanelRegistryTest-" + std::to_string(GetCurrentProcessId());
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, WidePath(Path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key,
                              nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(Key);
    RegDeleteTreeW(HKEY_CURRENT_USER, WidePath(Path).c_str());
  }
  void SetRaw(const String& name, DWORD type, const void* data, size_t size) {
    ASSERT_EQ(
        RegSetValueExW(Key, WidePath(name).c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)),
        ERROR_SUCCESS);
  }
  void SetText(const String& name, DWORD type, std::u16string_view text, size_t extraBytes = 0) {
    SetRaw(name, type, text.data(), text.size() * 2 + extraBytes);
  }
  void Open(TKemRegistry& registry) { ASSERT_TRUE(registry.OpenKey("\\" + Path)); }

  String Path;
  HKEY Key = nullptr;
};

}  // namespace

TEST(KemRegistry, ReadsTheSystemsVersionKey) {
  TKemRegistry registry;
  EXPECT_EQ(registry.RootKey(), HKEY_CURRENT_USER);
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey(kNtCurrentVersion));
  EXPECT_EQ(registry.CurrentPath(), "Software\\Microsoft\\Windows NT\\CurrentVersion");
  EXPECT_FALSE(registry.ReadString("ProductName").empty());
  const String version = registry.ReadString("CurrentVersion");
  double number = 0;
  EXPECT_TRUE(TryStrToFloat(version, number)) << version;
  EXPECT_GE(number, 5.0);
  EXPECT_TRUE(registry.ValueExists("ProductName"));
  TRegDataInfo info;
  ASSERT_TRUE(registry.GetDataInfo("ProductName", info));
  EXPECT_EQ(info.RegData, rdString);
  EXPECT_EQ(info.DataSize, registry.GetDataSize("ProductName"));
}

TEST(KemRegistry, RelativePathsOpenBelowTheOpenKey) {
  TKemRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey("Software"));
  ASSERT_TRUE(registry.OpenKey("Microsoft"));  // below Software, not below the root
  EXPECT_EQ(registry.CurrentPath(), "Software\\Microsoft");
  ASSERT_TRUE(registry.OpenKey("Windows NT\\CurrentVersion"));
  EXPECT_EQ(registry.CurrentPath(), "Software\\Microsoft\\Windows NT\\CurrentVersion");
  EXPECT_FALSE(registry.ReadString("ProductName").empty());
  // An absolute path starts again from the root.
  ASSERT_TRUE(registry.OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion"));
  EXPECT_EQ(registry.CurrentPath(), "Software\\Microsoft\\Windows\\CurrentVersion");
  EXPECT_FALSE(registry.ReadString("ProgramFilesDir").empty());
}

TEST(KemRegistry, MissingKeysAndValues) {
  TKemRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(registry.ReadString("ProductName"), "");  // no key open
  EXPECT_FALSE(registry.ValueExists("ProductName"));
  ASSERT_TRUE(registry.OpenKey(kNtCurrentVersion));
  const HKEY open = registry.CurrentKey();
  EXPECT_FALSE(registry.OpenKey("\\Software\\No Such Key Of Orvanel"));
  EXPECT_EQ(registry.CurrentKey(), open);  // a failed open keeps the open key
  EXPECT_EQ(registry.CurrentPath(), "Software\\Microsoft\\Windows NT\\CurrentVersion");
  EXPECT_FALSE(registry.ValueExists("No such value"));
  EXPECT_EQ(registry.GetDataSize("No such value"), -1);
  EXPECT_EQ(registry.ReadString("No such value"), "");
  EXPECT_THROW(registry.ReadInteger("No such value"), ERegistryException);
  // Another root closes the open key.
  registry.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_EQ(registry.CurrentPath(), "");
}

TEST_F(KemRegistryValues, StringsOfEveryShape) {
  SetText("plain", REG_SZ, std::u16string_view(u"Grüße\0", 6));
  SetText("unterminated", REG_SZ, u"abc");
  SetText("odd", REG_SZ, u"abc", 1);  // a half character at the end
  SetText("inner zero", REG_SZ, std::u16string_view(u"ab\0cd", 5));
  SetText("expand", REG_EXPAND_SZ, std::u16string_view(u"%SystemRoot%\\x\0", 15));
  SetRaw("empty", REG_SZ, nullptr, 0);
  SetText("Ünïcødé name", REG_SZ, u"value");
  TKemRegistry registry;
  Open(registry);
  EXPECT_EQ(registry.ReadString("plain"), "Grüße");
  EXPECT_EQ(registry.ReadString("unterminated"), "abc");
  EXPECT_EQ(registry.ReadString("odd"), "abc");
  EXPECT_EQ(registry.ReadString("inner zero"), "ab");
  EXPECT_EQ(registry.ReadString("expand"), "%SystemRoot%\\x");  // as stored
  EXPECT_EQ(registry.ReadString("empty"), "");
  EXPECT_TRUE(registry.ValueExists("empty"));
  EXPECT_EQ(registry.ReadString("Ünïcødé name"), "value");
  TRegDataInfo info;
  ASSERT_TRUE(registry.GetDataInfo("expand", info));
  EXPECT_EQ(info.RegData, rdExpandString);
  EXPECT_EQ(info.DataSize, 30);
}

TEST_F(KemRegistryValues, NumbersAndBinaryDataCheckTypeAndSize) {
  const DWORD number = 0x12345678;
  SetRaw("number", REG_DWORD, &number, sizeof number);
  SetRaw("short number", REG_DWORD, &number, 2);
  const unsigned char bytes[5] = {1, 2, 3, 0, 5};
  SetRaw("binary", REG_BINARY, bytes, sizeof bytes);
  SetRaw("multi", REG_MULTI_SZ, u"a\0b\0", 10);
  TKemRegistry registry;
  Open(registry);
  EXPECT_EQ(registry.ReadInteger("number"), 0x12345678);
  try {
    registry.ReadString("number");
    ADD_FAILURE() << "a number read as text";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Invalid data type for 'number'");
  }
  EXPECT_THROW(registry.ReadInteger("short number"), ERegistryException);
  EXPECT_THROW(registry.ReadInteger("binary"), ERegistryException);
  EXPECT_THROW(registry.ReadString("multi"), ERegistryException);

  unsigned char buffer[8] = {};
  EXPECT_EQ(registry.ReadBinaryData("binary", buffer, sizeof buffer), 5);
  EXPECT_EQ(std::memcmp(buffer, bytes, 5), 0);
  try {
    registry.ReadBinaryData("binary", buffer, 4);
    ADD_FAILURE() << "five bytes into four";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Failed to get data for 'binary'");
  }
  EXPECT_THROW(registry.ReadBinaryData("number", buffer, sizeof buffer), ERegistryException);

  TRegDataType type = rdUnknown;
  DWORD raw = 0;
  EXPECT_EQ(registry.GetData("number", &raw, sizeof raw, type), 4);
  EXPECT_EQ(type, rdInteger);
  EXPECT_EQ(raw, number);
  EXPECT_THROW(registry.GetData("binary", buffer, 2, type), ERegistryException);
  EXPECT_THROW(registry.GetData("missing", buffer, sizeof buffer, type), ERegistryException);
  TRegDataInfo info;
  ASSERT_TRUE(registry.GetDataInfo("multi", info));
  EXPECT_EQ(info.RegData, rdUnknown);
}

TEST_F(KemRegistryValues, RestrictedKeyOpensForReading) {
  // A key whose rights allow nothing but querying values: reading must still work.
  HKEY sub = nullptr;
  ASSERT_EQ(RegCreateKeyExW(Key, L"narrow", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr), ERROR_SUCCESS);
  RegSetValueExW(sub, L"v", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"ok"), 6);
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  alignas(ACL) unsigned char aclBuffer[256];
  auto* acl = reinterpret_cast<ACL*>(aclBuffer);
  InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
  AddAccessAllowedAce(acl, ACL_REVISION, KEY_QUERY_VALUE | READ_CONTROL | WRITE_DAC, everyone);
  SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
  RegSetKeySecurity(sub, DACL_SECURITY_INFORMATION, &descriptor);
  FreeSid(everyone);
  RegCloseKey(sub);

  TKemRegistry registry;
  Open(registry);
  EXPECT_TRUE(registry.OpenKey("narrow"));
  EXPECT_EQ(registry.ReadString("v"), "ok");
  registry.CloseKey();

  // Every right back, so the test key can go.
  if (RegOpenKeyExW(Key, L"narrow", 0, WRITE_DAC, &sub) == ERROR_SUCCESS) {
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    RegSetKeySecurity(sub, DACL_SECURITY_INFORMATION, &descriptor);
    RegCloseKey(sub);
  }
}
