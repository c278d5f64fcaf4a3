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

// Reads the token of card `number` (1..20) into buffer and returns its
// length; input that ends, or a token longer than max, stops the player.
std::size_t read_card_token(const char* program, std::FILE* in, char* buffer, std::size_t max, int number);

// The messages of those two stops, for players that read from a stream.
std::string input_ended_before(int number);
std::string token_too_long(int number, const std::string& start, std::size_t max);

// The player's one way of giving up on bad input: "program: message" on
// standard error, then exit status 1. Answers already written were flushed.
// An installed stop handler runs first instead; it leaves by throwing.
[[noreturn]] void stop_player(const char* program, const std::string& message);

// Lets a player's game run inside another program (a fuzzing harness) that
// must outlive a stop. nullptr restores the usual stop; returns the old one.
using StopHandler = void (*)(const char* program, const std::string& message);
StopHandler set_stop_handler(StopHandler handler);

}  // namespace game
