// Windows only: content types come from the real registry through the Win32 adapter.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_registry.h"
#include "player/mail/mail_message.h"

namespace wdx::mail {
namespace {

// A file type of our own, removed again at the end.
class TestFileType {
 public:
  TestFileType() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      static const char kType[] = "text/x-wdx-mail-test";
      RegSetValueExA(key, "Content Type", 0, REG_SZ, reinterpret_cast<const BYTE*>(kType), sizeof kType);
      RegCloseKey(key);
    }
  }
  ~TestFileType() { RegDeleteKeyA(HKEY_CLASSES_ROOT, kKey); }
  TestFileType(const TestFileType&) = delete;
  TestFileType& operator=(const TestFileType&) = delete;

 private:
  static constexpr const char* kKey = ".wdxmailtest";
};

TEST(ContentTypeWin32, ReadsTheRegistry) {
  TestFileType fileType;
  platform::Win32Registry registry;
  EXPECT_TRUE(registry.KeyExists(platform::RegistryRoot::kClassesRoot, ".wdxmailtest"));
  EXPECT_EQ(ContentTypeOfFile("C:\\x\\a.WDXMAILTEST", registry), "text/x-wdx-mail-test");
  EXPECT_EQ(ContentTypeOfFile("a.wdxnosuchtype", registry), "application/octet-stream");
  EXPECT_FALSE(registry.ReadString(platform::RegistryRoot::kClassesRoot, ".wdxmailtest", "No Such Value"));
  TmsAttItem item;
  item.SetFileName("notes.wdxmailtest", registry);
  EXPECT_EQ(item.Encoding(), TAttEncoding::aeBase64);
}

}  // namespace
}  // namespace wdx::mail
