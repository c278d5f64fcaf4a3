// suit-player's whole game fed from arbitrary bytes.
#include "players/suit/suit_player.h"
#include "fuzz/support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::check_player(fuzz::CGame(suit::play), fuzz::bytes_of(data, size));
    return 0;
}
