#include <windows.h>

#include "memo/file_io.h"

const char kPathSeparator = '\\';

namespace {

struct FileHandle {
  HANDLE handle;
  explicit FileHandle(HANDLE h) : handle(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  bool valid() const { return handle != INVALID_HANDLE_VALUE; }
};

}  // namespace

bool readWholeFile(const std::string& path, std::string& contents) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  contents.clear();
  char buffer[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file.handle, buffer, sizeof buffer, &n, nullptr)) return false;
    if (n == 0) return true;
    contents.append(buffer, n);
  }
}

bool replaceFileAtomically(const std::string& path, const std::string& contents) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;

  std::string temporary = path + ".tmp";
  bool ok = false;
  {
    FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    DWORD written = 0;
    ok = WriteFile(file.handle, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
         written == contents.size() && FlushFileBuffers(file.handle);
  }
  ok = ok && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileA(temporary.c_str());
  return ok;
}

std::string executableDirectory() {
  char buffer[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  std::string path(buffer, n);
  // A trail byte of a double-byte character can equal '\\'; skip whole characters.
  std::size_t slash = std::string::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i]))) {
      ++i;
    } else if (path[i] == '\\' || path[i] == '/') {
      slash = i;
    }
  }
  if (slash == std::string::npos) return ".";
  return path.substr(0, slash);
}
