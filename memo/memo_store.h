// The memo record, the memo list and the settings file "配置.dpk".
// Texts are ANSI code page byte strings and pass through unchanged.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

inline constexpr const char* kSettingsFileName = "配置.dpk";
inline constexpr const char* kSettingsSection = "各项配置";
inline constexpr const char* kKeyStartX = "启动X坐标";
inline constexpr const char* kKeyStartY = "启动Y坐标";
inline constexpr const char* kKeyTextColor = "文本颜色";
inline constexpr const char* kKeyMemoItems = "条目内容";

inline constexpr const char* kTrue = "真";
inline constexpr const char* kFalse = "假";
inline constexpr const char* kFirstRunText = "      青岚映辉   碧溪奔腾 ";
inline constexpr const char* kNewRowText = "请在此输入";
inline constexpr const char* kNewRowRemindAt = "2011-01-01-12:00:00";
inline constexpr std::int32_t kWhite = 16777215;

// A profile value comes back through a 10240-byte buffer, so at most this many bytes.
inline constexpr std::size_t kMaxSettingValueBytes = 10239;

struct MemoItem {
  std::string text;
  std::string timerOn;
  std::string remindAt;
  std::string yellowFrame;
  std::int32_t textColor = 0;

  bool operator==(const MemoItem&) const = default;
};

// A flag is on only when it is exactly the bytes of "真".
bool isTrue(std::string_view flag);

// Cuts text at every delimiter; double-byte characters are single units, so a
// trail byte equal to the delimiter never cuts. No empty last piece.
std::vector<std::string> splitText(std::string_view text, char delimiter);

// Full-width ASCII forms count as ASCII, then the leading decimal number
// (fraction and exponent allowed) truncated toward zero; 0 without a number.
// Values beyond the 32-bit range saturate.
std::int32_t textToInteger(std::string_view text);
std::string integerToText(std::int64_t value);

// The text without "&" and "\", which would split the memo when the file is
// read again. Double-byte characters stay whole, trail bytes included.
std::string withoutItemDelimiters(std::string_view text);

MemoItem makeFirstRunMemo(std::int32_t defaultTextColor);
MemoItem makeNewRowMemo(std::int32_t defaultTextColor);

// Fields missing from a short item keep their new-row values.
MemoItem parseMemoItem(std::string_view itemText, std::int32_t defaultTextColor);
std::string serializeMemoList(const std::vector<MemoItem>& memos);

// The memo list a "条目内容" value holds: one memo per non-empty item, or one
// first-run memo when there is none.
std::vector<MemoItem> parseMemoList(std::string_view value, std::int32_t defaultTextColor);

// One settings file in the profile format: section "各项配置", CR LF lines.
class SettingsFile {
 public:
  explicit SettingsFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  // Empty when the file, section or key is missing.
  std::string read(std::string_view key) const;
  // Replaces the file atomically; false leaves the old file as it was.
  bool write(std::string_view key, std::string_view value) const;

  std::pair<std::int32_t, std::int32_t> readStartPosition() const;
  std::int32_t readDefaultTextColor() const;

 private:
  std::string path_;
};

// The executable's directory, then "\配置.dpk".
std::string settingsFilePath();
std::string readSetting(std::string_view key);
bool writeSetting(std::string_view key, std::string_view value);
std::pair<std::int32_t, std::int32_t> readStartPosition();
std::int32_t readDefaultTextColor();

// The memo list shared by the window thread, which changes it, and the
// reminder thread, which reads copies of it. Indices are 1-based.
class MemoList {
 public:
  MemoList() = default;
  MemoList(const MemoList&) = delete;
  MemoList& operator=(const MemoList&) = delete;

  std::size_t size() const;
  MemoItem at(std::size_t index) const;  // an empty record when out of range
  void replace(std::size_t index, MemoItem item);
  void append(MemoItem item);
  void remove(std::size_t index);
  void assign(std::vector<MemoItem> items);

  template <class Change>
  void update(std::size_t index, Change&& change) {
    std::lock_guard lock(mutex_);
    if (index >= 1 && index <= items_.size()) change(items_[index - 1]);
  }

  std::vector<MemoItem> snapshot() const;
  std::string serialize() const;

 private:
  mutable std::mutex mutex_;
  std::vector<MemoItem> items_;
};
