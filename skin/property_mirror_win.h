// A copy, in process memory, of the window properties the toolkit writes.
// The properties stay the interface that any holder of a window handle can
// read; the copy spares each read a round trip to the window server under
// Wine, where a 41-row composition reads over a thousand of them.
#pragma once

#include <cstdint>
#include <optional>

#include <windows.h>

// The value for a window the toolkit has written properties to (0 when that
// property is absent); nothing for any other window.
std::optional<intptr_t> mirroredProperty(HWND window, const char* name);
void mirrorProperty(HWND window, const char* name, intptr_t value);
void mirrorRemoval(HWND window, const char* name);
// Drops every copy for the window; called when its properties are removed.
void forgetMirroredWindow(HWND window);
