#include "common/uri_list.h"

#include <optional>

#include "common/text_format.h"

namespace common {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// True when text begins with prefix, letters compared in any case.
bool StartsWithFolded(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         UpperCased(text.substr(0, prefix.size())) == UpperCased(prefix);
}

// The path with its escapes decoded, or nothing when one decodes to NUL.
std::optional<std::string> Unescaped(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '%' && i + 2 < path.size() && HexValue(path[i + 1]) >= 0 &&
        HexValue(path[i + 2]) >= 0) {
      char byte =
          static_cast<char>(HexValue(path[i + 1]) * 16 + HexValue(path[i + 2]));
      if (byte == '\0') return std::nullopt;
      out += byte;
      i += 2;
    } else {
      out += path[i];
    }
  }
  return out;
}

// The local path one entry names, or nothing.
std::optional<std::string> PathOfEntry(std::string_view entry) {
  if (entry.empty() || entry[0] == '#') return std::nullopt;
  if (entry[0] == '/') return std::string(entry);
  if (!StartsWithFolded(entry, "file:")) return std::nullopt;
  entry.remove_prefix(5);
  if (entry.substr(0, 2) == "//") {
    entry.remove_prefix(2);
    size_t slash = entry.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    std::string_view host = entry.substr(0, slash);
    if (!host.empty() &&
        !(host.size() == 9 && StartsWithFolded(host, "localhost"))) {
      return std::nullopt;
    }
    entry.remove_prefix(slash);
  }
  if (entry.empty() || entry[0] != '/') return std::nullopt;
  return Unescaped(entry);
}

}  // namespace

std::vector<std::string> FilePathsOfUriList(std::string_view text) {
  std::vector<std::string> paths;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (std::optional<std::string> path = PathOfEntry(line)) {
      paths.push_back(std::move(*path));
    }
  }
  return paths;
}

}  // namespace common
