#include <gtest/gtest.h>

#include <filesystem>

#include "memo/file_io.h"
#include "memo/memo_store.h"
#include "tests/support/temp_dir.h"

namespace {

std::string fileContents(const std::string& path) {
  std::string contents;
  EXPECT_TRUE(readWholeFile(path, contents));
  return contents;
}

void writeFile(const std::string& path, const std::string& contents) {
  ASSERT_TRUE(replaceFileAtomically(path, contents));
}

TEST(SettingsFile, AMissingFileReadsAsDefaults) {
  TempDir dir;
  SettingsFile settings(dir.file(kSettingsFileName));
  EXPECT_EQ(settings.read(kKeyMemoItems), "");
  EXPECT_EQ(settings.readStartPosition(), std::make_pair(0, 0));
  EXPECT_EQ(settings.readDefaultTextColor(), kWhite);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "reading creates nothing";
}

TEST(SettingsFile, ReadsPositionAndColourByTheirRules) {
  struct Case {
    const char* lines;
    std::pair<int, int> position;
    std::int32_t color;
  };
  const Case cases[] = {
      {"", {0, 0}, kWhite},
      {"文本颜色=\r\n", {0, 0}, kWhite},
      {"文本颜色=0\r\n", {0, 0}, 0},
      {"文本颜色=abc\r\n", {0, 0}, 0},
      {"文本颜色=255.9\r\n", {0, 0}, 255},
      {"文本颜色=  \r\n", {0, 0}, kWhite},
      {"启动X坐标=-20\r\n启动Y坐标=abc\r\n", {-20, 0}, kWhite},
      {"启动X坐标=100000\r\n启动Y坐标=7.9\r\n", {100000, 7}, kWhite},
  };
  TempDir dir;
  const std::string path = dir.file(kSettingsFileName);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    writeFile(path, std::string("[各项配置]\r\n") + c.lines);
    SettingsFile settings(path);
    EXPECT_EQ(settings.readStartPosition(), c.position);
    EXPECT_EQ(settings.readDefaultTextColor(), c.color);
  }
}

TEST(SettingsFile, WritesCreateTheFileAndKeepOtherLines) {
  TempDir dir;
  const std::string path = dir.file(kSettingsFileName);
  SettingsFile settings(path);
  ASSERT_TRUE(settings.write(kKeyStartX, "10"));
  ASSERT_TRUE(settings.write(kKeyStartY, "-5"));
  ASSERT_TRUE(settings.write(kKeyStartX, "11"));
  const std::string memos = serializeMemoList({makeFirstRunMemo(kWhite), makeNewRowMemo(255)});
  ASSERT_TRUE(settings.write(kKeyMemoItems, memos));
  EXPECT_EQ(fileContents(path), "[各项配置]\r\n启动X坐标=11\r\n启动Y坐标=-5\r\n条目内容=" + memos + "\r\n");
  EXPECT_EQ(settings.readStartPosition(), std::make_pair(11, -5));

  // The six leading spaces of the first-run text do not survive a reload.
  std::vector<MemoItem> reloaded = parseMemoList(settings.read(kKeyMemoItems), kWhite);
  ASSERT_EQ(reloaded.size(), 2u);
  EXPECT_EQ(reloaded[0].text, "青岚映辉   碧溪奔腾 ");
  EXPECT_EQ(reloaded[1], makeNewRowMemo(255));
  EXPECT_EQ(serializeMemoList(reloaded), memos.substr(6));
}

TEST(SettingsFile, AFailedWriteLeavesTheOldFile) {
  TempDir dir;
  const std::string path = dir.file(kSettingsFileName);
  writeFile(path, "[各项配置]\r\n启动X坐标=1\r\n");

  EXPECT_FALSE(SettingsFile(dir.file("missing") + kPathSeparator + kSettingsFileName).write(kKeyStartX, "2"));

  setReadOnly(path, true);
  SettingsFile settings(path);
  EXPECT_FALSE(settings.write(kKeyStartX, "2"));
  setReadOnly(path, false);
  EXPECT_EQ(fileContents(path), "[各项配置]\r\n启动X坐标=1\r\n");
  EXPECT_FALSE(fileExists(path + ".tmp"));
}

TEST(SettingsFile, AStaleTemporaryFileIsOverwritten) {
  TempDir dir;
  const std::string path = dir.file(kSettingsFileName);
  writeFile(path + ".tmp", std::string(100000, 'x'));
  ASSERT_TRUE(SettingsFile(path).write(kKeyTextColor, "255"));
  EXPECT_EQ(fileContents(path), "[各项配置]\r\n文本颜色=255\r\n");
  EXPECT_FALSE(fileExists(path + ".tmp"));
}

TEST(SettingsFile, TheDefaultPathIsBesideTheExecutable) {
  const std::string path = settingsFilePath();
  const std::string suffix = std::string(1, kPathSeparator) + kSettingsFileName;
  ASSERT_GT(path.size(), suffix.size());
  EXPECT_EQ(path.substr(path.size() - suffix.size()), suffix);
  EXPECT_EQ(path.substr(0, path.size() - suffix.size()), executableDirectory());
}

}  // namespace
