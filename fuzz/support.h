// What the fuzz targets share: the libFuzzer entry point, checks that abort
// (libFuzzer saves the input that made one fail), bytes as a stream, and one
// player's game run in process with the checks that hold for any input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iosfwd>
#include <string_view>

#include "common/result.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

inline std::string_view bytes_of(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Aborts with "check failed: what" when the condition does not hold.
void require(bool holds, const char* what);

// A read-only stream over the bytes; the caller closes it.
std::FILE* open_bytes(std::string_view bytes);

// A message as the programs print it: one line with no control bytes.
bool is_one_clean_line(std::string_view message);

// A message that quotes input („...”) as no integer must not quote one.
bool quotes_an_integer(std::string_view message);

// A player's game, which returns its stop on bad input.
using CGame = std::function<game::Status(std::FILE* in, std::FILE* out)>;
using StreamGame = std::function<game::Status(std::istream& in, std::ostream& out)>;

// Plays the input twice (the second game must see nothing of the first) and
// checks what holds for any input: the same output both times; answers
// "1".."4" on lines of their own; four different columns in every round;
// never more answers than the input has words; then either 20 answers, or
// fewer and a stop whose message is one clean line.
void check_player(const CGame& game, std::string_view input);
void check_player(const StreamGame& game, std::string_view input);

}  // namespace fuzz
