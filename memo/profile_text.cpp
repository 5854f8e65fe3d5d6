#include "memo/profile_text.h"

#include <optional>
#include <vector>

namespace {

bool isLeadByte(unsigned char c) { return c >= 0x80; }

unsigned char foldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

struct Line {
  std::size_t begin;  // first byte of the line
  std::size_t end;    // one past its last byte, before CR LF or LF
  std::size_t next;   // first byte of the next line
};

std::vector<Line> splitLines(std::string_view contents) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < contents.size()) {
    std::size_t newline = contents.find('\n', pos);
    std::size_t next = newline == std::string_view::npos ? contents.size() : newline + 1;
    std::size_t end = newline == std::string_view::npos ? contents.size() : newline;
    if (end > pos && contents[end - 1] == '\r') --end;
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

// The section name of a "[name]" line, if it is one.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return line.substr(1);
  return line.substr(1, close - 1);
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{trimBlanks(line.substr(0, equals)), line.substr(equals + 1)};
}

struct Found {
  std::optional<std::size_t> sectionLine;
  std::optional<std::size_t> keyLine;
  std::size_t lastContentLine = 0;  // last non-blank line of the section
};

Found find(std::string_view contents, const std::vector<Line>& lines, std::string_view section,
           std::string_view key) {
  Found found;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view text = contents.substr(lines[i].begin, lines[i].end - lines[i].begin);
    auto name = sectionName(text);
    if (found.sectionLine) {
      if (name) break;
      if (!trimBlanks(text).empty()) found.lastContentLine = i;
      if (!found.keyLine) {
        auto entry = keyLine(text);
        if (entry && profileNamesEqual(entry->key, key)) found.keyLine = i;
      }
    } else if (name && profileNamesEqual(*name, section)) {
      found.sectionLine = i;
      found.lastContentLine = i;
    }
  }
  return found;
}

std::string withoutLineBreaks(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

}  // namespace

bool profileNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto ca = static_cast<unsigned char>(a[i]);
    auto cb = static_cast<unsigned char>(b[i]);
    if (isLeadByte(ca) && i + 1 < a.size()) {
      if (ca != cb || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (foldAscii(ca) != foldAscii(cb)) {
      return false;
    }
  }
  return true;
}

std::string profileRead(std::string_view contents, std::string_view section, std::string_view key,
                        std::size_t maxBytes) {
  auto lines = splitLines(contents);
  Found found = find(contents, lines, section, key);
  if (!found.keyLine) return {};
  const Line& line = lines[*found.keyLine];
  std::string_view value =
      trimBlanks(keyLine(contents.substr(line.begin, line.end - line.begin))->value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, maxBytes));
}

std::string profileWrite(std::string_view contents, std::string_view section, std::string_view key,
                         std::string_view value) {
  // A line break inside a value would start a new line of the file.
  std::string safeKey = withoutLineBreaks(key);
  std::string safeValue = withoutLineBreaks(value);
  key = safeKey;
  value = safeValue;

  auto lines = splitLines(contents);
  Found found = find(contents, lines, section, key);
  std::string out;
  out.reserve(contents.size() + key.size() + value.size() + section.size() + 8);
  if (found.keyLine) {
    const Line& line = lines[*found.keyLine];
    auto existing = keyLine(contents.substr(line.begin, line.end - line.begin));
    out.append(contents.substr(0, line.begin));
    out.append(existing->key).append("=").append(value);
    out.append(contents.substr(line.end));
  } else if (found.sectionLine) {
    const Line& after = lines[found.lastContentLine];
    out.append(contents.substr(0, after.next));
    if (contents[after.next - 1] != '\n') out.append("\r\n");  // last line had no line break
    out.append(key).append("=").append(value).append("\r\n");
    out.append(contents.substr(after.next));
  } else {
    out.append(contents);
    if (!contents.empty() && contents.back() != '\n') out.append("\r\n");
    out.append("[").append(section).append("]\r\n");
    out.append(key).append("=").append(value).append("\r\n");
  }
  return out;
}
