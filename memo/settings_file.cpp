#include "memo/file_io.h"
#include "memo/memo_store.h"
#include "memo/profile_text.h"

std::string SettingsFile::read(std::string_view key) const {
  std::string contents;
  if (!readWholeFile(path_, contents)) return {};
  return profileRead(contents, kSettingsSection, key, kMaxSettingValueBytes);
}

bool SettingsFile::write(std::string_view key, std::string_view value) const {
  std::string contents;
  readWholeFile(path_, contents);  // a missing file starts empty
  return replaceFileAtomically(path_, profileWrite(contents, kSettingsSection, key, value));
}

std::pair<std::int32_t, std::int32_t> SettingsFile::readStartPosition() const {
  return {textToInteger(read(kKeyStartX)), textToInteger(read(kKeyStartY))};
}

std::int32_t SettingsFile::readDefaultTextColor() const {
  std::string text = read(kKeyTextColor);
  return text.empty() ? kWhite : textToInteger(text);
}

std::string settingsFilePath() {
  std::string directory = executableDirectory();
  if (!directory.empty() && directory.back() == kPathSeparator) directory.pop_back();
  return directory + kPathSeparator + kSettingsFileName;
}

namespace {
SettingsFile defaultSettingsFile() { return SettingsFile(settingsFilePath()); }
}  // namespace

std::string readSetting(std::string_view key) { return defaultSettingsFile().read(key); }
bool writeSetting(std::string_view key, std::string_view value) {
  return defaultSettingsFile().write(key, value);
}
std::pair<std::int32_t, std::int32_t> readStartPosition() { return defaultSettingsFile().readStartPosition(); }
std::int32_t readDefaultTextColor() { return defaultSettingsFile().readDefaultTextColor(); }
