// Whole-file reads and crash-safe replacement, by ANSI path.
#pragma once

#include <string>

// False when the file cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& contents);

// Writes a sibling temporary file, flushes it to disk and renames it over path,
// so a crash leaves either the old file or the new one. A read-only or locked
// file, or a missing directory, gives false and leaves the old file as it was.
bool replaceFileAtomically(const std::string& path, const std::string& contents);

// The executable's directory, without a trailing separator.
std::string executableDirectory();

extern const char kPathSeparator;
