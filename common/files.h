// Whole-file writes that never leave a half-written file behind.
#pragma once

#include <string>
#include <string_view>

namespace game {

// Writes `content` to a temporary file beside `path` and renames it over
// `path`; on failure `path` is unchanged and `error` says why.
bool replace_file(const std::string& path, std::string_view content, std::string& error);

}  // namespace game
