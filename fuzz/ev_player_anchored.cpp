// ev-player-anchored's whole game fed from arbitrary bytes.
#include "players/ev/measures.h"
#include "fuzz/support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::StreamGame game = [](std::istream& in, std::ostream& out) { return ev::play(ev::ANCHORED, in, out); };
    fuzz::check_player(game, fuzz::bytes_of(data, size));
    return 0;
}
