// The program's own embedded images and icon (assets/resources.rc), read from
// the executable's module.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "skin/native_handles_win.h"

using UniqueIcon = UniqueNative<CloseWith<HICON, DestroyIcon>>;

// The bytes of RCDATA resource `id` in the executable; empty when it has none.
// They are mapped with the module and stay valid for the whole run.
std::span<const std::uint8_t> embeddedBytes(int id);

// Icon resource `id` at size × size pixels (the best image of the icon,
// scaled when it has none of that size); empty when there is no such icon.
UniqueIcon loadEmbeddedIcon(int id, int size);

// The tray icon at size × size pixels.
UniqueIcon loadTrayIcon(int size);
