// The settings file against the real Windows profile and ANSI file functions.
#include <windows.h>

#include <gtest/gtest.h>

#include "memo/file_io.h"
#include "memo/memo_store.h"
#include "tests/support/temp_dir.h"

namespace {

std::string profileFunctionsRead(const std::string& path, const char* key) {
  char buffer[10240];
  DWORD n = GetPrivateProfileStringA(kSettingsSection, key, nullptr, buffer, sizeof buffer, path.c_str());
  return std::string(buffer, n);
}

TEST(WindowsCodePage, IsCodePage936) { EXPECT_EQ(GetACP(), 936u); }

class BesideExecutable : public testing::Test {
 protected:
  void SetUp() override { DeleteFileA(path_.c_str()); }
  void TearDown() override {
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path_.c_str());
  }
  const std::string path_ = settingsFilePath();
};

TEST_F(BesideExecutable, TheFileHasItsCodePage936NameInTheExecutablesDirectory) {
  char module[MAX_PATH];
  std::string exe(module, GetModuleFileNameA(nullptr, module, sizeof module));
  EXPECT_EQ(path_, exe.substr(0, exe.rfind('\\')) + "\\配置.dpk");

  ASSERT_TRUE(writeSetting(kKeyStartX, "42"));
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((executableDirectory() + "\\*.dpk").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  EXPECT_STREQ(found.cFileName, "配置.dpk");
  EXPECT_EQ(readStartPosition(), std::make_pair(42, 0));

  // Under Wine the host file name must be the UTF-8 form of the same name.
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto toUnix = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path_.c_str(), -1, wide, MAX_PATH);
    char* unixName = toUnix(wide);
    ASSERT_NE(unixName, nullptr);
    std::string name(unixName);
    HeapFree(GetProcessHeap(), 0, unixName);
    const std::string utf8 = "\xE9\x85\x8D\xE7\xBD\xAE.dpk";
    EXPECT_EQ(name.substr(name.size() - utf8.size()), utf8);
  }
}

TEST_F(BesideExecutable, TheProfileFunctionsReadWhatItWrites) {
  const std::string memos = serializeMemoList({makeFirstRunMemo(kWhite), makeNewRowMemo(255)});
  ASSERT_TRUE(writeSetting(kKeyMemoItems, memos));
  ASSERT_TRUE(writeSetting(kKeyStartX, "-20"));
  ASSERT_TRUE(writeSetting(kKeyMemoItems, memos + "x&真&&真&0\\"));
  EXPECT_EQ(profileFunctionsRead(path_, kKeyStartX), "-20");
  // Both drop the leading spaces of the first memo.
  EXPECT_EQ(profileFunctionsRead(path_, kKeyMemoItems), (memos + "x&真&&真&0\\").substr(6));
  EXPECT_EQ(readSetting(kKeyMemoItems), profileFunctionsRead(path_, kKeyMemoItems));
}

TEST_F(BesideExecutable, ItReadsWhatTheProfileFunctionsWrite) {
  ASSERT_TRUE(WritePrivateProfileStringA(kSettingsSection, kKeyStartY, "77", path_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA(kSettingsSection, kKeyTextColor, "255", path_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA(kSettingsSection, kKeyMemoItems, "a&真&2011-01-01-12:00:00&真&255\\",
                                         path_.c_str()));
  EXPECT_EQ(readStartPosition(), std::make_pair(0, 77));
  EXPECT_EQ(readDefaultTextColor(), 255);
  EXPECT_EQ(readSetting(kKeyMemoItems), "a&真&2011-01-01-12:00:00&真&255\\");

  // And it changes such a file the way they would.
  ASSERT_TRUE(writeSetting(kKeyStartY, "78"));
  EXPECT_EQ(profileFunctionsRead(path_, kKeyStartY), "78");
  EXPECT_EQ(profileFunctionsRead(path_, kKeyTextColor), "255");
}

TEST(ProfileCompatibility, HandMadeFilesReadAlike) {
  // Files as other tools and hands leave them; each key must read as the
  // Windows profile functions read it.
  const char* files[] = {
      "[各项配置]\r\n启动X坐标=5\r\n文本颜色=255\r\n",
      "[各项配置]\n启动X坐标 = 5 \n文本颜色=\t\"255\"\t\n",
      "; comment\r\n[other]\r\n启动X坐标=1\r\n[各项配置]\r\n启动Y坐标='3'\r\n",
      "[各项配置]\r\n条目内容=a&假&&假&0\\b&真&2011-01-01-12:00:00&真&255\\\r\n",
      "[各项配置]\r\n条目内容=\"a&假&&假&0\\\"\r\n",
      "[各项配置]\r\n启动X坐标=1\r\n启动X坐标=2\r\n",
      "[各项配置]\r\n启动X坐标\r\n",
      "[各项配置]\r\n文本颜色=x=y\r\n",
      "[各项配置]\r\n启动X坐标=7",
  };
  TempDir dir;
  const std::string path = dir.file("compat.ini");
  for (const char* contents : files) {
    SCOPED_TRACE(contents);
    ASSERT_TRUE(replaceFileAtomically(path, contents));
    SettingsFile settings(path);
    for (const char* key : {kKeyStartX, kKeyStartY, kKeyTextColor, kKeyMemoItems}) {
      SCOPED_TRACE(key);
      EXPECT_EQ(settings.read(key), profileFunctionsRead(path, key));
    }
  }
}

TEST(AtomicReplace, ALockedOrReadOnlyFileKeepsItsContents) {
  TempDir dir;
  const std::string path = dir.file(kSettingsFileName);
  ASSERT_TRUE(replaceFileAtomically(path, "old"));

  HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(replaceFileAtomically(path, "new"));
  CloseHandle(lock);

  setReadOnly(path, true);
  EXPECT_FALSE(replaceFileAtomically(path, "new"));
  setReadOnly(path, false);

  std::string contents;
  ASSERT_TRUE(readWholeFile(path, contents));
  EXPECT_EQ(contents, "old");
  EXPECT_FALSE(fileExists(path + ".tmp"));
  EXPECT_TRUE(replaceFileAtomically(path, "new"));
}

}  // namespace
