#include "skin/owned_images_win.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "skin/control_base_win.h"

namespace {

struct Store {
  std::mutex mutex;
  std::map<std::pair<HWND, std::string>, UniqueGpImage> images;
};

Store& store() {
  static Store* instance = new Store;  // never destroyed: windows may outlive static destructors
  return *instance;
}

}  // namespace

Gdiplus::GpImage* keepDecodedImage(HWND window, const char* property, UniqueGpImage image) {
  Gdiplus::GpImage* raw = image.get();
  writeProperty(window, property, reinterpret_cast<intptr_t>(raw));
  UniqueGpImage replaced;
  {
    std::lock_guard lock(store().mutex);
    auto& slot = store().images[{window, property}];
    replaced = std::exchange(slot, std::move(image));
  }
  return raw;  // `replaced` is disposed here, after the property no longer names it
}

void storeCallerImage(HWND window, const char* property, Gdiplus::GpImage* image) {
  writeProperty(window, property, reinterpret_cast<intptr_t>(image));
  UniqueGpImage replaced;
  std::lock_guard lock(store().mutex);
  auto it = store().images.find({window, property});
  if (it != store().images.end() && it->second.get() != image) {
    replaced = std::move(it->second);
    store().images.erase(it);
  }
}

void releaseDecodedImages(HWND window) {
  std::map<std::pair<HWND, std::string>, UniqueGpImage> released;
  std::lock_guard lock(store().mutex);
  auto& images = store().images;
  for (auto it = images.lower_bound({window, std::string()}); it != images.end() && it->first.first == window;) {
    released.insert(images.extract(it++));
  }
}

LRESULT releaseAtNcDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = callPreviousProc(window, message, wParam, lParam);
  releaseDecodedImages(window);
  releaseControlProperties(window);
  return result;
}

std::size_t decodedImageCount(HWND window) {
  std::lock_guard lock(store().mutex);
  std::size_t count = 0;
  for (auto it = store().images.lower_bound({window, std::string()});
       it != store().images.end() && it->first.first == window; ++it) {
    if (it->second) ++count;
  }
  return count;
}
