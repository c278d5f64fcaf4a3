// Token input for the C-library players: a white-space-delimited read like
// "%s", but bounded by the player's buffer and telling end of input apart.
// A player's game returns its stop on bad input; its main ends on it here.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "common/result.h"

namespace game {

enum class TokenRead { ok, end, too_long };

// Reads the next token into buffer (max bytes and a terminator); length gets
// its length, NUL bytes included. On too_long the buffer holds the first max
// bytes.
TokenRead read_token(std::FILE* in, char* buffer, std::size_t max, std::size_t& length);

// Reads the token of card `number` (1..20) into buffer and returns its
// length. Input that ends, or a token longer than max, is the player's stop:
// the failure holds its message.
[[nodiscard]] Result<std::size_t> read_card_token(std::FILE* in, char* buffer, std::size_t max, int number);

// The messages of those two stops, for players that read from a stream.
std::string input_ended_before(int number);
std::string token_too_long(int number, const std::string& start, std::size_t max);

// A player's exit status once its game is over: 0 when it played the game
// out; after a stop, "program: message" on standard error (the answers
// already written flushed first, so that they come before it), then 1.
[[nodiscard]] int player_exit_status(const char* program, const Status& game);

}  // namespace game
