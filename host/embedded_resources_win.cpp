#include "host/embedded_resources_win.h"

#include "assets/resource_ids.h"

namespace {

// MAKEINTRESOURCE takes 16 bits; anything else would be read as a name pointer.
bool isResourceNumber(int id) { return id > 0 && id <= 0xFFFF; }

}  // namespace

std::span<const std::uint8_t> embeddedBytes(int id) {
  if (!isResourceNumber(id)) return {};
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA);
  if (!info) return {};
  HGLOBAL loaded = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  // Resource memory is never freed: LockResource only returns its address.
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || size == 0) return {};
  return {static_cast<const std::uint8_t*>(data), size};
}

UniqueIcon loadEmbeddedIcon(int id, int size) {
  if (!isResourceNumber(id) || size <= 0) return UniqueIcon{};
  // Without LR_SHARED the icon is the caller's to destroy.
  return UniqueIcon(static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

UniqueIcon loadTrayIcon(int size) { return loadEmbeddedIcon(kResTrayIcon, size); }
