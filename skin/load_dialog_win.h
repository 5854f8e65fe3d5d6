// The toolkit's loading-dialog window class.
#pragma once

#include <windows.h>

#include "skin/property_names.h"

inline constexpr char kLoadDialogClassName[] = "OrvexLoadDialog";

// A loading-dialog window owns the worker thread handle in kPropThread, the
// GDI+ image in kPropImage and the global memory block in kPropStream.
// kPropHitMove 1: a left press in the client area drags the window.

// Registers "OrvexLoadDialog" for the executable's module; true when the class
// is registered, also by an earlier call.
bool registerLoadDialogClass();

// At WM_DESTROY the worker in "Orvex_Thread" is waited for (messages sent to
// the window meanwhile are still answered), so it must end by itself; then its
// handle is closed, the image disposed, the block freed and the three
// properties removed.
LRESULT CALLBACK loadDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
