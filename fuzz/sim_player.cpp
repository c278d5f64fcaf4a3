// sim-player's whole game fed from arbitrary bytes.
#include "fuzz/support.h"
#include "players/sim/play.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::StreamGame game = [](std::istream& in, std::ostream& out) { return sim::play(in, out); };
    fuzz::check_player(game, fuzz::bytes_of(data, size));
    return 0;
}
