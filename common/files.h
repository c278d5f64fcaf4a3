// Whole-file writes that never leave a half-written file behind, and the
// removal of scratch directories.
#pragma once

#include <string>
#include <string_view>

namespace game {

// Writes `content` to a temporary file beside `path` and renames it over
// `path`; on failure `path` is unchanged and `error` says why.
bool replace_file(const std::string& path, std::string_view content, std::string& error);

// Removes a directory with everything in it, also where someone took away
// the write or search permission of a directory inside (the owner may give
// it back). On failure `error` names the path and the reason.
bool remove_tree(const std::string& path, std::string& error);

}  // namespace game
