// One HTTP GET read into bytes, bounded in time and size so that a caller on
// the window thread is never held for long by a slow or silent server.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "skin/native_handles_win.h"

using UniqueInternetHandle = UniqueNative<CloseWith<HINTERNET, InternetCloseHandle>>;
using UniqueHandle = UniqueNative<CloseWith<HANDLE, CloseHandle>>;

struct HttpReadLimits {
  DWORD stepTimeoutMs = 2000;  // each of connect, send and receive
  DWORD totalMs = 3000;        // the caller waits no longer; a body not read by then is a failure
  std::size_t maxBytes = 64;
};

// The body of a 200 answer to a GET of `url` (http://host[:port]/path?query),
// at most limits.maxBytes of it; empty when any step fails or times out, or
// the answer is not 200. Uses the system's proxy settings.
std::string readHttpResource(std::string_view url, const HttpReadLimits& limits = {});
