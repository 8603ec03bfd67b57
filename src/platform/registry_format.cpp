#include "platform/registry_format.h"

#include <cstdint>

#include "automation/utf8.h"

namespace quillon::platform {
namespace {

enum class Field { KeyPath, ValueName, ValueText };

bool needsEscape(unsigned char c, Field field) {
  if (c < 0x20 || c == 0x7F || c == '%') return true;
  if (field == Field::ValueText) return false;
  if (c == '[' || c == ']') return true;
  return field == Field::ValueName && c == '=';
}

void appendEscaped(std::string& out, std::string_view text, Field field) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (needsEscape(c, field)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += ch;
    }
  }
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Undoes appendEscaped; rejects malformed escapes, escapes of non-ASCII bytes and raw bytes that
// should have been escaped.
std::optional<std::string> unescape(std::string_view text, Field field) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int hi = hexDigit(text[i + 1]);
      const int lo = hexDigit(text[i + 2]);
      if (hi < 0 || lo < 0 || hi > 7) return std::nullopt;
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else if (needsEscape(c, field)) {
      return std::nullopt;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

std::string formatRegistry(const RegistryData& data) {
  std::string out(kRegistryHeader);
  out += '\n';
  for (const auto& [folded, key] : data.keys()) {
    out += '[';
    appendEscaped(out, key.path, Field::KeyPath);
    out += "]\n";
    for (const auto& [foldedName, value] : key.values) {
      appendEscaped(out, value.name, Field::ValueName);
      out += '=';
      appendEscaped(out, value.text, Field::ValueText);
      out += '\n';
    }
  }
  return out;
}

std::optional<RegistryData> parseRegistry(std::string_view text) {
  RegistryData data;
  if (text.empty()) return data;
  if (!automation::utf8::isWellFormed(text)) return std::nullopt;

  bool sawHeader = false;
  std::optional<std::string> currentKey;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    if (!sawHeader) {
      if (line != kRegistryHeader) return std::nullopt;
      sawHeader = true;
      continue;
    }
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (line.back() != ']' || line.size() < 2) return std::nullopt;
      auto path = unescape(line.substr(1, line.size() - 2), Field::KeyPath);
      if (!path) return std::nullopt;
      currentKey = normalizeKeyPath(*path);
      data.createKey(*currentKey);
      continue;
    }
    const std::size_t eq = line.find('=');
    if (!currentKey || eq == std::string_view::npos) return std::nullopt;
    auto name = unescape(line.substr(0, eq), Field::ValueName);
    auto value = unescape(line.substr(eq + 1), Field::ValueText);
    if (!name || !value) return std::nullopt;
    data.setValue(*currentKey, *name, *value);
  }
  return data;
}

}  // namespace quillon::platform
