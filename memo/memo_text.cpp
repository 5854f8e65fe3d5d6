#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "memo/memo_store.h"

namespace {

bool isDoubleByteStart(unsigned char c) { return c >= 0x80; }

// Full-width ASCII forms (A3 A1..A3 FE) and the full-width space (A1 A1)
// become their one-byte forms; every other character is copied as it is.
std::string foldFullWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (!isDoubleByteStart(c) || i + 1 == text.size()) {
      out.push_back(text[i]);
      continue;
    }
    auto trail = static_cast<unsigned char>(text[i + 1]);
    if (c == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out.push_back(static_cast<char>(trail - 0x80));
    } else if (c == 0xA1 && trail == 0xA1) {
      out.push_back(' ');
    } else {
      out.append(text.substr(i, 2));
    }
    ++i;
  }
  return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The length of the decimal number at the start of s: sign, digits, point,
// fraction, exponent. 0 when s does not start with one.
std::size_t leadingNumberLength(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && isDigit(s[j])) {
      while (j < s.size() && isDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

}  // namespace

bool isTrue(std::string_view flag) { return flag == kTrue; }

std::vector<std::string> splitText(std::string_view text, char delimiter) {
  std::vector<std::string> pieces;
  std::size_t pieceStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isDoubleByteStart(static_cast<unsigned char>(text[i]))) {
      ++i;  // the trail byte is part of the character, never a delimiter
    } else if (text[i] == delimiter) {
      pieces.emplace_back(text.substr(pieceStart, i - pieceStart));
      pieceStart = i + 1;
    }
  }
  if (pieceStart < text.size()) pieces.emplace_back(text.substr(pieceStart));
  return pieces;
}

std::string withoutItemDelimiters(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isDoubleByteStart(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
      kept.append(text.substr(i, 2));
      ++i;
    } else if (text[i] != '&' && text[i] != '\\') {
      kept.push_back(text[i]);
    }
  }
  return kept;
}

std::int32_t textToInteger(std::string_view text) {
  std::string folded = foldFullWidth(text);
  std::string_view s = folded;
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  std::size_t length = leadingNumberLength(s);
  if (length == 0) return 0;
  // The number is checked above, so strtod sees only a plain decimal form; it
  // gives HUGE_VAL on overflow and 0 on underflow. The C locale is never changed.
  double value = std::strtod(std::string(s.substr(0, length)).c_str(), nullptr);
  value = std::trunc(value);
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
  if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

std::string integerToText(std::int64_t value) {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}
