// Token input for the C-library players: a white-space-delimited read like
// "%s", but bounded by the player's buffer and telling end of input apart.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace game {

enum class TokenRead { ok, end, too_long };

// Reads the next token into buffer (max bytes and a terminator); length gets
// its length, NUL bytes included. On too_long the buffer holds the first max
// bytes.
TokenRead read_token(std::FILE* in, char* buffer, std::size_t max, std::size_t& length);

// The player's one way of giving up on bad input: "program: message" on
// standard error, then exit status 1. Answers already written were flushed.
[[noreturn]] void stop_player(const char* program, const std::string& message);

}  // namespace game
