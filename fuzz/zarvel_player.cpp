// zarvel-002's turn loop fed from arbitrary bytes; the practice deck is not
// written, so the target touches no file. A failed internal check is thrown
// out of the target: a finding.
#include "players/zarvel/player.h"
#include "fuzz/support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::check_player(fuzz::CGame(zarvel::play_turns), fuzz::bytes_of(data, size));
    return 0;
}
