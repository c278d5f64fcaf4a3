#include "players/ev/card_reading.h"

#include <iomanip>
#include <istream>
#include <string>

#include "common/int_scanner.h"
#include "common/player_io.h"

namespace ev {

namespace {

constexpr std::size_t TOKEN_MAX = 3;  // "10H"

game::Failure badToken(int number, const std::string& shown, const std::string& fault) {
    return game::failure("cartea " + std::to_string(number) + ": jetonul „" + shown + "” " + fault);
}

}  // namespace

game::Result<int> readCard(std::istream& in, int number, bool (&dealt)[CARDS]) {
    std::string token;
    // One character more than a token may have tells a long one apart
    // without reading it whole.
    if (!(in >> std::setw(TOKEN_MAX + 1) >> token)) return game::failure(game::input_ended_before(number));
    if (token.size() > TOKEN_MAX) return game::failure(game::token_too_long(number, token, TOKEN_MAX));
    const int c = parseCard(token.c_str());
    if (c < 0) return badToken(number, game::printable(token), "nu începe cu 9, 1, J, Q, K sau A");
    if (dealt[c]) return badToken(number, game::printable(token), std::string("dă din nou cartea ") + cardText(c));
    dealt[c] = true;
    return c;
}

}  // namespace ev
