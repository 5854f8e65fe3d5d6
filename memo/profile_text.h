// The Windows profile (INI) format over the bytes of a whole file.
#pragma once

#include <string>
#include <string_view>

// The value of key in section: case-insensitive names, spaces and tabs trimmed,
// one pair of enclosing quotes removed, cut to maxBytes. Empty when missing.
std::string profileRead(std::string_view contents, std::string_view section,
                        std::string_view key, std::size_t maxBytes);

// contents with key set to value: the key's own line rewritten, or a line added
// at the end of its section, or the section added at the end. Other lines are
// kept byte for byte; new lines end in CR LF.
std::string profileWrite(std::string_view contents, std::string_view section,
                         std::string_view key, std::string_view value);

// Case-insensitive for ASCII letters only; double-byte characters compare exactly.
bool profileNamesEqual(std::string_view a, std::string_view b);
