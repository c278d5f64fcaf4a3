// zarvel-002's turn loop fed from arbitrary bytes; the practice deck is not
// written, so the target touches no file.
#include "players/zarvel/player.h"
#include "fuzz/support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::CGame game = [](std::FILE* in, std::FILE* out) {
        fuzz::require(zarvel::play_turns(in, out) == 0, "a finished game exits with status 0");
    };
    fuzz::check_player("zarvel-002", game, fuzz::bytes_of(data, size));
    return 0;
}
