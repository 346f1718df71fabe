#pragma once
// The update list "update.upd": one file name a line, lines ended by CR LF or a lone
// LF, empty lines kept as empty entries. Read as UTF-8, or windows-1251 when it is not
// valid UTF-8. The list comes from the network, so a name is used for a file only when
// it is a plain file name (isPlainFileName).
#include <string>
#include <string_view>
#include <vector>

namespace update_list {

std::vector<std::string> parse(std::string_view bytes);

// Not empty, not "." or "..", no '/' or '\', no control characters, at most 255 bytes:
// a name that stays inside the folder it is put in.
bool isPlainFileName(std::string_view name);

}  // namespace update_list
