// The deck-file reader fed from arbitrary bytes: a deck is accepted only as
// the 24 cards each once, whatever follows it; a rejected file leaves the
// deck untouched and gets one clean message naming the file.
#include <cstdio>
#include <string>

#include "common/deck_file.h"
#include "fuzz/support.h"

namespace {

const std::string PATH = "deck.txt";

struct DeckRead {
    bool ok;
    game::Deck deck;
    std::string error;
};

game::Deck untouched() {
    game::Deck deck;
    deck.fill(game::Card{-1, -1});
    return deck;
}

DeckRead read(std::string_view bytes) {
    DeckRead r{false, untouched(), ""};
    std::FILE* file = fuzz::open_bytes(bytes);
    fuzz::require(file != nullptr, "the bytes open as a stream");
    const game::Result<game::Deck> deck = game::read_deck(file, PATH);
    r.ok = static_cast<bool>(deck);
    if (deck) r.deck = *deck;
    else r.error = deck.error();
    std::fclose(file);
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytes_of(data, size);
    const DeckRead r = read(bytes);
    if (!r.ok) {
        fuzz::require(r.deck == untouched(), "a rejected deck file changes nothing");
        fuzz::require(r.error.starts_with(PATH + ": "), "the message names the file");
        fuzz::require(fuzz::is_one_clean_line(r.error), "the message is one clean line");
        fuzz::require(!fuzz::quotes_an_integer(r.error), "what the message calls no integer is none");
        return 0;
    }
    fuzz::require(game::is_full_deck(r.deck), "an accepted deck holds the 24 cards once each");
    const DeckRead longer = read(std::string(bytes) + "\n-7 x\x01\xff");
    fuzz::require(longer.ok && longer.deck == r.deck, "nothing after the 24th number is read");
    return 0;
}
