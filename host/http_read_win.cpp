#include "host/http_read_win.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr const char* kUserAgent = "MemoStrip";

void setTimeouts(HINTERNET handle, DWORD ms) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionA(handle, option, &ms, sizeof ms);
  }
}

// The read itself, blocking for as long as WinINet takes.
std::string readNow(const std::string& address, const HttpReadLimits& limits) {
  const ULONGLONG started = GetTickCount64();
  std::vector<char> host(address.size() + 1), path(address.size() + 1);
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host.data();
  parts.dwHostNameLength = static_cast<DWORD>(host.size());
  parts.lpszUrlPath = path.data();
  parts.dwUrlPathLength = static_cast<DWORD>(path.size());
  if (!InternetCrackUrlA(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts)) return {};
  if (parts.nScheme != INTERNET_SCHEME_HTTP || host[0] == '\0') return {};

  UniqueInternetHandle session(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return {};
  setTimeouts(session.get(), limits.stepTimeoutMs);
  UniqueInternetHandle connection(InternetConnectA(session.get(), host.data(), parts.nPort, nullptr, nullptr,
                                                   INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return {};
  setTimeouts(connection.get(), limits.stepTimeoutMs);
  const char* target = path[0] != '\0' ? path.data() : "/";
  constexpr DWORD kFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES |
                           INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTO_REDIRECT;
  UniqueInternetHandle request(
      HttpOpenRequestA(connection.get(), "GET", target, nullptr, nullptr, nullptr, kFlags, 0));
  if (!request) return {};
  // Wine's WinINet takes the timeouts from the request handle only.
  setTimeouts(request.get(), limits.stepTimeoutMs);
  if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return {};

  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
      status != HTTP_STATUS_OK) {
    return {};
  }

  // Only a body read whole (or up to the cap) in time counts; a cut-off one is a failure.
  std::string body;
  while (body.size() < limits.maxBytes) {
    if (GetTickCount64() - started >= limits.totalMs) return {};
    // A read waits until its whole buffer is filled: ask only for what has arrived.
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request.get(), &available, 0, 0)) return {};
    if (available == 0) break;
    char chunk[256];
    const DWORD wanted = static_cast<DWORD>(std::min({sizeof chunk, limits.maxBytes - body.size(),
                                                      static_cast<std::size_t>(available)}));
    DWORD got = 0;
    if (!InternetReadFile(request.get(), chunk, wanted, &got)) return {};
    if (got == 0) break;
    body.append(chunk, got);
  }
  return body;
}

// Handed to the reading thread; the last of the two sides to let go frees it.
struct PendingRead {
  std::string url;
  HttpReadLimits limits;
  std::string body;
};

DWORD WINAPI readOnThread(void* parameter) {
  std::unique_ptr<std::shared_ptr<PendingRead>> held(static_cast<std::shared_ptr<PendingRead>*>(parameter));
  PendingRead& read = **held;
  read.body = readNow(read.url, read.limits);
  return 0;
}

}  // namespace

std::string readHttpResource(std::string_view url, const HttpReadLimits& limits) {
  // WinINet bounds neither the name lookup nor (under Wine) the connect: the
  // read runs on a thread of its own, and a late one is left to finish alone.
  auto read = std::make_shared<PendingRead>(PendingRead{std::string(url), limits, {}});
  auto* handedOver = new std::shared_ptr<PendingRead>(read);
  UniqueHandle thread(CreateThread(nullptr, 0, readOnThread, handedOver, 0, nullptr));
  if (!thread) {
    delete handedOver;
    return {};
  }
  if (WaitForSingleObject(thread.get(), limits.totalMs) != WAIT_OBJECT_0) return {};
  return std::move(read->body);
}
