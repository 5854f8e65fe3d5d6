#include <algorithm>
#include <optional>
#include <vector>

#include "about/about_logic.h"
#include "about/about_window_win.h"
#include "skin/native_handles_win.h"

namespace {

using UniqueRegistryKey = UniqueNative<CloseWith<HKEY, RegCloseKey>>;

// Missing when the key or the value is; a value that is not text reads as "".
std::optional<std::string> readRunValue() {
  UniqueRegistryKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return {};
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), kRunValueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::string();
  std::string value(size, '\0');
  if (size > 0 && RegQueryValueExA(key.get(), kRunValueName, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                                   &size) != ERROR_SUCCESS) {
    return std::string();
  }
  value.resize(std::min<std::size_t>(size, value.size()));
  // Stored text may or may not carry its terminator.
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

void writeRunValue(const std::string& value) {
  UniqueRegistryKey key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key.get(), kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

void deleteRunValue() {
  UniqueRegistryKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
  RegDeleteValueA(key.get(), kRunValueName);
}

}  // namespace

std::string executablePath() {
  std::vector<char> buffer(MAX_PATH);
  // A path longer than the buffer comes back cut to its size: grow and retry.
  while (buffer.size() <= 65536) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
  return {};
}

void promptStartWithSystem() {
  const std::string path = executablePath();
  if (path.empty()) return;
  const StartWithSystemStep step = startWithSystemStep(readRunValue(), path);
  if (step == StartWithSystemStep::kNothing) return;
  const bool yes = askYesNo(kStartWithSystemQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES;
  if (yes) {
    writeRunValue(runValueFor(path));
  } else if (step == StartWithSystemStep::kAskWriteOrDelete) {
    deleteRunValue();
  }
}
