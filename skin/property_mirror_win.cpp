#include "skin/property_mirror_win.h"

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

struct Mirror {
  std::mutex mutex;  // the reminder thread sets picture images too
  std::unordered_map<HWND, std::vector<std::pair<std::string, intptr_t>>> windows;
};

Mirror& mirror() {
  static auto* instance = new Mirror;  // windows may outlive static destructors
  return *instance;
}

}  // namespace

std::optional<intptr_t> mirroredProperty(HWND window, const char* name) {
  std::lock_guard lock(mirror().mutex);
  auto it = mirror().windows.find(window);
  if (it == mirror().windows.end()) return std::nullopt;
  for (const auto& [key, value] : it->second) {
    if (key == name) return value;
  }
  return 0;
}

void mirrorProperty(HWND window, const char* name, intptr_t value) {
  std::lock_guard lock(mirror().mutex);
  auto& properties = mirror().windows[window];
  for (auto& [key, stored] : properties) {
    if (key == name) {
      stored = value;
      return;
    }
  }
  properties.emplace_back(name, value);
}

void mirrorRemoval(HWND window, const char* name) {
  std::lock_guard lock(mirror().mutex);
  auto it = mirror().windows.find(window);
  if (it == mirror().windows.end()) return;
  std::erase_if(it->second, [name](const auto& entry) { return entry.first == name; });
}

void forgetMirroredWindow(HWND window) {
  std::lock_guard lock(mirror().mutex);
  mirror().windows.erase(window);
}
