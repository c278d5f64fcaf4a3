// Commands shown to people so that they can paste them into a shell: each
// word is quoted only when the shell would otherwise change it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace game {

// "a b" for {"a", "b"}; a word with anything but letters, digits and
// "-_./:=@%+," is put in single quotes ('it'\''s' for it's), an empty word as ''.
std::string shell_quoted(const std::vector<std::string>& words);

// The words of a text that shell_quoted made (single quotes, and a
// backslash before a character outside them); nothing when a quote is left open.
std::optional<std::vector<std::string>> shell_words(const std::string& text);

// The referee's command that plays deck `seed` again with `player`.
std::string replay_command(std::uint64_t seed, const std::vector<std::string>& player);

}  // namespace game
