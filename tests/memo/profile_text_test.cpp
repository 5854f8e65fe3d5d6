#include <gtest/gtest.h>

#include "memo/profile_text.h"

namespace {

constexpr std::size_t kMax = 10239;

TEST(ProfileRead, FindsValuesByTheProfileRules) {
  struct Case {
    const char* name;
    std::string contents;
    const char* section;
    const char* key;
    std::string value;
  };
  const Case cases[] = {
      {"missing file", "", "s", "k", ""},
      {"plain", "[s]\r\nk=v\r\n", "s", "k", "v"},
      {"LF only", "[s]\nk=v\n", "s", "k", "v"},
      {"no final line break", "[s]\r\nk=v", "s", "k", "v"},
      {"section case", "[Sec]\r\nk=v\r\n", "sEC", "k", "v"},
      {"key case", "[s]\r\nKey=v\r\n", "s", "kEY", "v"},
      {"blanks around key and value", "[s]\r\n \tk \t= \t v w \t\r\n", "s", "k", "v w"},
      {"double quotes", "[s]\r\nk=\" v \"\r\n", "s", "k", " v "},
      {"single quotes", "[s]\r\nk='v'\r\n", "s", "k", "v"},
      {"unmatched quotes stay", "[s]\r\nk=\"v'\r\n", "s", "k", "\"v'"},
      {"one quote stays", "[s]\r\nk=\"\r\n", "s", "k", "\""},
      {"only one pair removed", "[s]\r\nk=\"\"v\"\"\r\n", "s", "k", "\"v\""},
      {"rest after first equals", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
      {"empty value", "[s]\r\nk=\r\n", "s", "k", ""},
      {"missing key", "[s]\r\nother=v\r\n", "s", "k", ""},
      {"key in another section", "[t]\r\nk=v\r\n[s]\r\nj=w\r\n", "s", "k", ""},
      {"first of two keys", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "1"},
      {"lines before the section", "k=outside\r\n[s]\r\nk=inside\r\n", "s", "k", "inside"},
      {"indented header", "  [s]\r\nk=v\r\n", "s", "k", "v"},
      {"line without equals", "[s]\r\nk\r\nk=v\r\n", "s", "k", "v"},
      {"code page 936 names", "[各项配置]\r\n启动X坐标=-20\r\n", "各项配置", "启动x坐标", "-20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(profileRead(c.contents, c.section, c.key, kMax), c.value);
  }
}

TEST(ProfileRead, CutsLongValuesToTheBuffer) {
  const std::string value(20000, 'x');
  const std::string contents = "[s]\r\nk=" + value + "\r\n";
  EXPECT_EQ(profileRead(contents, "s", "k", kMax), value.substr(0, kMax));
  EXPECT_EQ(profileRead(contents, "s", "k", 3), "xxx");
}

TEST(ProfileNames, FoldOnlySingleByteLetters) {
  EXPECT_TRUE(profileNamesEqual("Key", "kEY"));
  // Two double-byte characters whose trail bytes differ only in letter case.
  EXPECT_FALSE(profileNamesEqual("\x81\x41", "\x81\x61"));
  EXPECT_TRUE(profileNamesEqual("\x81\x41" "A", "\x81\x41" "a"));
  EXPECT_FALSE(profileNamesEqual("ab", "abc"));
}

TEST(ProfileWrite, ChangesOnlyTheKeysLine) {
  struct Case {
    const char* name;
    std::string before;
    std::string after;
    const char* section = "s";
    const char* key = "k";
  };
  const Case cases[] = {
      {"new file", "", "[s]\r\nk=new\r\n"},
      {"replaced in place", "; note\r\n[s]\r\na=1\r\nk=old\r\nb=2\r\n", "; note\r\n[s]\r\na=1\r\nk=new\r\nb=2\r\n"},
      {"LF lines kept", "[s]\na=1\nk=old\nb=2\n", "[s]\na=1\nk=new\nb=2\n"},
      {"key spelled as stored", "[S]\r\n  Key = old \r\n", "[S]\r\nKey=new\r\n", "s", "KEY"},
      {"added at the end of its section", "[s]\r\na=1\r\n\r\n[t]\r\nx=y\r\n",
       "[s]\r\na=1\r\nk=new\r\n\r\n[t]\r\nx=y\r\n"},
      {"added under a bare header", "[s]\r\n[t]\r\n", "[s]\r\nk=new\r\n[t]\r\n"},
      {"added after a last line without break", "[s]\r\na=1", "[s]\r\na=1\r\nk=new\r\n"},
      {"section added at the end", "[t]\r\nx=y\r\n", "[t]\r\nx=y\r\n[s]\r\nk=new\r\n"},
      {"section added after a line without break", "[t]\r\nx=y", "[t]\r\nx=y\r\n[s]\r\nk=new\r\n"},
      {"only the first section", "[s]\r\nk=1\r\n[s]\r\nk=2\r\n", "[s]\r\nk=new\r\n[s]\r\nk=2\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(profileWrite(c.before, c.section, c.key, "new"), c.after);
  }
}

TEST(ProfileWrite, KeepsLineBreaksOutOfValues) {
  const std::string written = profileWrite("", "s", "k", "a\r\n[s]\r\nk=b\nc");
  EXPECT_EQ(written, "[s]\r\nk=a  [s]  k=b c\r\n");
  EXPECT_EQ(profileRead(written, "s", "k", kMax), "a  [s]  k=b c");
}

TEST(ProfileWrite, ReadsBackWhatItWrote) {
  std::string contents = "[t]\r\nk=other\r\n";
  for (const char* value : {"1", "", "请在此输入&假&2011-01-01-12:00:00&假&16777215\\", "a=b"}) {
    SCOPED_TRACE(value);
    contents = profileWrite(contents, "各项配置", "条目内容", value);
    contents = profileWrite(contents, "各项配置", "启动X坐标", "5");
    EXPECT_EQ(profileRead(contents, "各项配置", "条目内容", kMax), value);
    EXPECT_EQ(profileRead(contents, "各项配置", "启动X坐标", kMax), "5");
    EXPECT_EQ(profileRead(contents, "t", "k", kMax), "other");
  }
}

}  // namespace
