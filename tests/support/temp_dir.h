// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
#ifdef _WIN32
    auto stamp = GetCurrentProcessId();
#else
    auto stamp = ::getpid();
#endif
    path_ = std::filesystem::temp_directory_path() /
            ("memo_test_" + std::to_string(stamp) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }

  // name is ANSI bytes; the directory itself is plain ASCII.
  std::string file(const std::string& name) const {
#ifdef _WIN32
    return path_.string() + "\\" + name;
#else
    return path_.string() + "/" + name;
#endif
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// By ANSI path, since std::filesystem would reinterpret code page 936 names.
inline bool fileExists(const std::string& path) {
#ifdef _WIN32
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
  return ::access(path.c_str(), F_OK) == 0;
#endif
}

inline void setReadOnly(const std::string& path, bool readOnly) {
#ifdef _WIN32
  SetFileAttributesA(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
#else
  ::chmod(path.c_str(), readOnly ? 0444 : 0644);
#endif
}
