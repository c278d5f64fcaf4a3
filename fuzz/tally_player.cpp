// tally-player's whole game fed from arbitrary bytes.
#include "fuzz/support.h"
#include "players/tally/tally.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::check_player(fuzz::CGame(tally::play), fuzz::bytes_of(data, size));
    return 0;
}
