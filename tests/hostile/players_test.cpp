// The six players on hostile standard input. The same kinds of bad input
// go to each; what each must do with them differs: zarvel-002, the
// expected-value players and sim-player check their cards, while the
// rule-of-thumb players read only what their rule needs and play whatever
// else they are given.
// None may crash, read past a token's buffer or its tables, or write a file
// other than its own (zarvel-002's practice deck "data.in"). Arguments are
// ignored, but for --help, -h or --version first, which plays no game and
// writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "common/version.h"
#include "tests/hostile/hostile.h"

namespace {

using hostile::answers;
using hostile::Case;
using hostile::clean_lines;
using hostile::exactly;
using hostile::Expected;
using testing_support::lines;

const std::vector<std::string> DEAL = {"9C", "10D", "JC", "QH", "KC", "AS", "9D", "10C", "JH", "QC",
                                       "KD", "9S", "AD", "AH", "10S", "KS", "10H", "KH", "QS", "QD"};
const hostile::Text MEGABYTE_TOKEN("", 'Q', 3 * hostile::MEGABYTE);

const Case CLEAN = {"clean", {}, {}, lines(DEAL)};

// The first n cards, then whatever follows.
std::string cards_then(int n, const std::string& rest) {
    return lines(std::vector<std::string>(DEAL.begin(), DEAL.begin() + n)) + rest;
}

// The whole deal with card `number` (from 1) replaced.
std::string with_card(int number, const std::string& token) {
    std::vector<std::string> tokens = DEAL;
    tokens[number - 1] = token;
    return lines(tokens);
}

std::string lower_case_deal() {
    std::string text = lines(DEAL);
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string crlf_deal() {
    std::string text;
    for (const std::string& token : DEAL) text += token + "\r\n";
    return text;
}

// What a player may do with bad input, and the files it makes on every run.
struct Player {
    std::string program;
    std::vector<std::string> made = {};

    // Stops after `answered` answers, the same as those to the clean deal.
    Expected stops(int answered, const std::string& message) const {
        return {1, program + ": " + message, answered == 0 ? exactly("") : clean_lines(answered), made};
    }
    Expected stops_after(const hostile::Output& out, const std::string& message) const {
        return {1, program + ": " + message, out, made};
    }
    Expected plays(const hostile::Output& out) const { return {0, "", out, made}; }
};

const std::string END_AT_1 = "intrarea s-a terminat înainte de cartea 1";
const std::string END_AT_14 = "intrarea s-a terminat înainte de cartea 14";

// The table of one player: its own cases, then the input that every player
// must take as the clean deal, and the arguments that every player must take
// alike.
std::vector<Case> table(const Player& p, std::vector<Case> cases) {
    const hostile::Text blank_line("", ' ', 3 * hostile::MEGABYTE, testing_support::join(DEAL));
    const hostile::Text more_after(lines(DEAL), 'Q', 3 * hostile::MEGABYTE);
    cases.push_back({"megabyte_blank_line", {}, {}, blank_line, p.plays(clean_lines(20))});
    cases.push_back({"input_after_the_last_card", {}, {}, more_after, p.plays(clean_lines(20))});
    cases.push_back({"crlf_line_ends", {}, {}, crlf_deal(), p.plays(clean_lines(20))});
    // Help, even with a deal waiting, creates no file and leaves an old practice deck alone.
    const Expected help = {0, "", exactly(hostile::help_of(p.program))};
    cases.push_back({"help", {}, {"--help"}, lines(DEAL), help});
    cases.push_back({"short_help", {hostile::file("data.in", "0 1 2 3\n")}, {"-h", "x"}, lines(DEAL), help});
    cases.push_back({"help_not_first_is_ignored", {}, {"--bogus", "--help"}, lines(DEAL), p.plays(clean_lines(20))});
    cases.push_back({.name = "version",
                     .setup = {hostile::file("data.in", "0 1 2 3\n")},
                     .args = {"--version", "--help"},
                     .input = lines(DEAL),
                     .expect = {0, "", exactly(game::version_line(p.program.c_str()))}});
    cases.push_back({.name = "version_not_first_is_ignored",
                     .args = {"x", "--version"},
                     .input = lines(DEAL),
                     .expect = p.plays(clean_lines(20))});
    cases.push_back({.name = "help_to_a_full_device",
                     .args = {"--help"},
                     .input = lines(DEAL),
                     .expect = {2, p.program + ": nu se poate scrie ajutorul\n", exactly("")},
                     .output_to_full_device = true});
    return cases;
}

std::vector<Case> suit_player() {
    const Player p{"suit-player"};
    return table(p, {
        {"empty_input", {}, {}, "", p.stops(0, END_AT_1)},
        {"only_blanks", {}, {}, " \t\r\n\n", p.stops(0, END_AT_1)},
        {"ends_mid_game", {}, {}, cards_then(13, ""), p.stops(13, END_AT_14)},
        // "1", cut from "10S", is a card of suit '1' to this player.
        {"ends_mid_token", {}, {}, cards_then(14, "1"),
         p.stops_after(answers(15), "intrarea s-a terminat înainte de cartea 16")},
        {"token_too_long", {}, {}, cards_then(5, "ABCDEFGH\n"),
         p.stops(5, "cartea 6: jetonul „ABCDEF...” are mai mult de 6 caractere")},
        {"bytes_above_127", {}, {}, cards_then(2, "\xc3\xa9\n"),
         p.stops(2, "cartea 3: litera de culoare din „\\xc3\\xa9” nu este un caracter ASCII")},
        // Any byte below 128 is a suit letter, NUL too.
        {"nul_byte", {}, {}, with_card(3, std::string("J\0", 2)), p.plays(answers(20))},
        // Lower-case suits pair off like the upper-case ones: the same game.
        {"lower_case_tokens", {}, {}, lower_case_deal(), p.plays(clean_lines(20))},
        {"card_dealt_twice", {}, {}, with_card(7, "9C"), p.plays(answers(20))},
        {"megabyte_token", {}, {}, MEGABYTE_TOKEN,
         p.stops(0, "cartea 1: jetonul „QQQQQQ...” are mai mult de 6 caractere")},
    });
}

std::vector<Case> tally_player() {
    const Player p{"tally-player"};
    return table(p, {
        {"empty_input", {}, {}, "", p.stops(0, END_AT_1)},
        {"only_blanks", {}, {}, " \t\r\n\n", p.stops(0, END_AT_1)},
        {"ends_mid_game", {}, {}, cards_then(13, ""), p.stops(13, END_AT_14)},
        // "1", cut from "10S", is a ten to this player.
        {"ends_mid_token", {}, {}, cards_then(14, "1"),
         p.stops_after(answers(15), "intrarea s-a terminat înainte de cartea 16")},
        {"token_too_long", {}, {}, cards_then(5, "ABCDEFGH\n"),
         p.stops(5, "cartea 6: jetonul „ABC...” are mai mult de 3 caractere")},
        // Bytes outside its tables are a rank and a suit of code 0: played.
        {"bytes_above_127", {}, {}, with_card(3, "\xc3\xa9"), p.plays(answers(20))},
        // Suits never decide a column, so an unknown one changes nothing.
        {"nul_byte", {}, {}, with_card(3, std::string("J\0", 2)), p.plays(clean_lines(20))},
        {"lower_case_tokens", {}, {}, lower_case_deal(), p.plays(answers(20))},
        {"card_dealt_twice", {}, {}, with_card(7, "9C"), p.plays(answers(20))},
        {"megabyte_token", {}, {}, MEGABYTE_TOKEN,
         p.stops(0, "cartea 1: jetonul „QQQ...” are mai mult de 3 caractere")},
    });
}

std::vector<Case> zarvel() {
    const Player p{"zarvel-002", {"data.in"}};
    const Player nothing_made{"zarvel-002"};
    const std::string end = "turn loop: check failed: cin >> str";
    const std::string no_rank_or_suit = "transforma: check failed: 1 == 0";
    const std::string wrong_length = "transforma: check failed: p == (int)str.size()";
    return table(p, {
        {"empty_input", {}, {}, "", p.stops(0, end)},
        {"only_blanks", {}, {}, " \t\r\n\n", p.stops(0, end)},
        {"ends_mid_game", {}, {}, cards_then(13, ""), p.stops(13, end)},
        {"ends_mid_token", {}, {}, cards_then(14, "1"), p.stops(14, "transforma: check failed: str[1] == '0'")},
        {"token_too_long", {}, {}, cards_then(5, "ABCDEFGH\n"), p.stops(5, wrong_length)},
        {"bytes_above_127", {}, {}, cards_then(2, "\xc3\xa9\n"), p.stops(2, no_rank_or_suit)},
        {"nul_byte", {}, {}, with_card(3, std::string("J\0", 2)), p.stops(2, no_rank_or_suit)},
        {"lower_case_tokens", {}, {}, lower_case_deal(), p.stops(0, no_rank_or_suit)},
        {"card_dealt_twice", {}, {}, with_card(7, "9C"), p.stops(6, "solve: check failed: i <= numberOfCards")},
        {"megabyte_token", {}, {}, MEGABYTE_TOKEN, p.stops(0, wrong_length)},
        // The practice deck goes only to a regular file or a new one; anything
        // else at its name is left alone, and the game is the same.
        {"practice_deck_is_a_link", {hostile::file("victim", "precious"), hostile::link("data.in", "victim")}, {},
         lines(DEAL), nothing_made.plays(clean_lines(20))},
        {"practice_deck_is_a_dangling_link", {hostile::link("data.in", "nowhere")}, {}, lines(DEAL),
         nothing_made.plays(clean_lines(20))},
        {"practice_deck_is_a_fifo", {hostile::endless("data.in", "")}, {}, lines(DEAL),
         nothing_made.plays(clean_lines(20))},
        {"practice_deck_beyond_the_file_size_limit", {}, {}, lines(DEAL), nothing_made.plays(clean_lines(20)), false,
         hostile::FILE_SIZE_LIMIT_ZERO},
    });
}

// The two expected-value players, and sim-player, read their cards with the same code; each gets the table.
std::vector<Case> ev_player(const std::string& program) {
    const Player p{program};
    const std::string no_rank = "” nu începe cu 9, 1, J, Q, K sau A";
    return table(p, {
        {"empty_input", {}, {}, "", p.stops(0, END_AT_1)},
        {"only_blanks", {}, {}, " \t\r\n\n", p.stops(0, END_AT_1)},
        {"ends_mid_game", {}, {}, cards_then(13, ""), p.stops(13, END_AT_14)},
        // "1", cut from "10S", reads as 10C (an unknown suit is a club), dealt as card 8.
        {"ends_mid_token", {}, {}, cards_then(14, "1"), p.stops(14, "cartea 15: jetonul „1” dă din nou cartea 10C")},
        {"token_too_long", {}, {}, cards_then(5, "ABCDEFGH\n"),
         p.stops(5, "cartea 6: jetonul „ABCD...” are mai mult de 3 caractere")},
        {"bytes_above_127", {}, {}, cards_then(2, "\xc3\xa9\n"), p.stops(2, "cartea 3: jetonul „\\xc3\\xa9" + no_rank)},
        // A NUL suit letter is an unknown suit: a club, the card it replaces.
        {"nul_byte", {}, {}, with_card(3, std::string("J\0", 2)), p.plays(clean_lines(20))},
        // "9c" and "10d" pass as clubs; "jc" has no rank.
        {"lower_case_tokens", {}, {}, lower_case_deal(), p.stops(2, "cartea 3: jetonul „jc" + no_rank)},
        {"card_dealt_twice", {}, {}, with_card(7, "9C"), p.stops(6, "cartea 7: jetonul „9C” dă din nou cartea 9C")},
        {"megabyte_token", {}, {}, MEGABYTE_TOKEN,
         p.stops(0, "cartea 1: jetonul „QQQQ...” are mai mult de 3 caractere")},
    });
}

class SuitPlayer : public ::testing::TestWithParam<Case> {};
class TallyPlayer : public ::testing::TestWithParam<Case> {};
class Zarvel : public ::testing::TestWithParam<Case> {};
class EvPlayer : public ::testing::TestWithParam<Case> {};
class EvPlayerAnchored : public ::testing::TestWithParam<Case> {};
class SimPlayer : public ::testing::TestWithParam<Case> {};

TEST_P(SuitPlayer, HasItsExactOutcome) { hostile::expect_outcome("suit-player", GetParam(), CLEAN); }
TEST_P(TallyPlayer, HasItsExactOutcome) { hostile::expect_outcome("tally-player", GetParam(), CLEAN); }
TEST_P(Zarvel, HasItsExactOutcome) { hostile::expect_outcome("zarvel-002", GetParam(), CLEAN); }
TEST_P(EvPlayer, HasItsExactOutcome) { hostile::expect_outcome("ev-player", GetParam(), CLEAN); }
TEST_P(EvPlayerAnchored, HasItsExactOutcome) { hostile::expect_outcome("ev-player-anchored", GetParam(), CLEAN); }
TEST_P(SimPlayer, HasItsExactOutcome) { hostile::expect_outcome("sim-player", GetParam(), CLEAN); }

INSTANTIATE_TEST_SUITE_P(BadInput, SuitPlayer, ::testing::ValuesIn(suit_player()), hostile::case_name);
INSTANTIATE_TEST_SUITE_P(BadInput, TallyPlayer, ::testing::ValuesIn(tally_player()), hostile::case_name);
INSTANTIATE_TEST_SUITE_P(BadInput, Zarvel, ::testing::ValuesIn(zarvel()), hostile::case_name);
INSTANTIATE_TEST_SUITE_P(BadInput, EvPlayer, ::testing::ValuesIn(ev_player("ev-player")), hostile::case_name);
INSTANTIATE_TEST_SUITE_P(BadInput, EvPlayerAnchored, ::testing::ValuesIn(ev_player("ev-player-anchored")),
                         hostile::case_name);
INSTANTIATE_TEST_SUITE_P(BadInput, SimPlayer, ::testing::ValuesIn(ev_player("sim-player")), hostile::case_name);

}  // namespace
