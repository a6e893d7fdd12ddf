// Turns the file list a desktop drag delivers (a text/uri-list) into the
// plain local paths it names, in order.
#ifndef COMMON_URI_LIST_H_
#define COMMON_URI_LIST_H_

#include <string>
#include <string_view>
#include <vector>

namespace common {

// One entry per line (LF or CR LF; the last line needs no line end). Kept:
// "file:///p", "file://localhost/p" and "file:/p" (scheme and host in any
// case) as "/p" with its percent-escapes decoded, and a bare absolute path
// "/p" unchanged. Skipped: empty lines, "#" comments, other schemes, files on
// other hosts, and entries whose escapes decode to a NUL byte (the path
// would name another file). A "%" not followed by two hex digits stays as
// it is.
std::vector<std::string> FilePathsOfUriList(std::string_view text);

}  // namespace common

#endif  // COMMON_URI_LIST_H_
