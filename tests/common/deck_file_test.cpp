#include <gtest/gtest.h>

#include "common/deck_file.h"
#include "tests/support/support.h"

namespace {

using testing_support::TempDir;
using testing_support::write_file;

const char* ASCENDING = "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23\n";

struct DeckRead {
    bool ok;
    game::Deck deck;
    std::string error;
};

DeckRead read_text(const TempDir& dir, const std::string& text) {
    const std::string path = dir.file("deck.txt");
    write_file(path, text);
    const game::Result<game::Deck> deck = game::read_deck(path);
    if (!deck) return {false, {}, deck.error()};
    return {true, *deck, ""};
}

TEST(DeckFile, WhiteSpaceCarriesNoMeaning) {
    TempDir dir;
    const DeckRead one_line = read_text(dir, ASCENDING);
    ASSERT_TRUE(one_line.ok) << one_line.error;
    std::string spread = "\n\n";
    for (int code = 0; code < 24; ++code) spread += std::to_string(code) + (code % 3 ? "\t \r\n" : "\n\n\n");
    const DeckRead many_lines = read_text(dir, spread);
    ASSERT_TRUE(many_lines.ok) << many_lines.error;
    EXPECT_EQ(one_line.deck, many_lines.deck);
    EXPECT_EQ(one_line.deck[5], (game::Card{1, 1}));  // code 5: the ten of diamonds
    EXPECT_EQ(one_line.deck[23], (game::Card{5, 3}));
}

TEST(DeckFile, WhateverFollowsTheTwentyFourthIsNotRead) {
    TempDir dir;
    EXPECT_TRUE(read_text(dir, std::string(ASCENDING) + "garbage 99 -1 \x01").ok);
    EXPECT_TRUE(read_text(dir, "+0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23").ok);
}

struct BadDeck {
    const char* name;
    std::string text;
    std::string error_part;
};

class BadDeckFile : public ::testing::TestWithParam<BadDeck> {};

TEST_P(BadDeckFile, IsRejectedNamingFileAndPosition) {
    TempDir dir;
    const DeckRead r = read_text(dir, GetParam().text);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(dir.file("deck.txt")), std::string::npos) << r.error;
    EXPECT_NE(r.error.find(GetParam().error_part), std::string::npos) << r.error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadDeckFile,
    ::testing::Values(
        BadDeck{"empty", "", "are doar 0 numere"},
        BadDeck{"too_few", "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22\n", "are doar 23 numere"},
        BadDeck{"text", "0 1 2 x3 4", "numărul 4 din 24 nu este un număr întreg: „x3”"},
        BadDeck{"glued_text", "0 1 2 3abc 4", "numărul 5 din 24 nu este un număr întreg: „abc"},
        BadDeck{"lone_sign", "0 1 - 2", "numărul 3 din 24 nu este un număr întreg: „-”"},
        BadDeck{"out_of_range", "0 1 24 3", "numărul 3 din 24: codul 24 nu este între 0 și 23"},
        BadDeck{"negative", "0 -1 2 3", "numărul 2 din 24: codul -1"},
        BadDeck{"huge", "0 1 2 99999999999999999999999", "numărul 4 din 24: codul"},
        BadDeck{"repeated", "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 5",
                "numărul 24 din 24: codul 5 se repetă (apare și ca numărul 6)"}),
    [](const auto& info) { return info.param.name; });

TEST(DeckFile, MissingFileAndDirectoryAreErrors) {
    TempDir dir;
    const game::Result<game::Deck> absent = game::read_deck(dir.file("absent"));
    EXPECT_FALSE(absent);
    EXPECT_NE(absent.error().find("nu se poate deschide"), std::string::npos) << absent.error();
    const game::Result<game::Deck> folder = game::read_deck(dir.path());
    EXPECT_FALSE(folder);
    EXPECT_NE(folder.error().find(dir.path()), std::string::npos) << folder.error();
}

TEST(DeckFile, WrittenDeckReadsBack) {
    TempDir dir;
    game::Deck deck;
    for (int i = 0; i < 24; ++i) deck[i] = game::card_of_code((i * 7 + 3) % 24);
    const game::Status written = game::write_deck(dir.file("out.txt"), deck);
    ASSERT_TRUE(written) << written.error();
    const game::Result<game::Deck> read = game::read_deck(dir.file("out.txt"));
    ASSERT_TRUE(read) << read.error();
    game::Deck back = *read;
    EXPECT_EQ(back, deck);
    EXPECT_TRUE(game::is_full_deck(back));
    back[3] = back[4];
    EXPECT_FALSE(game::is_full_deck(back));
}

TEST(DeckFile, UnwritablePathLeavesNothingBehind) {
    TempDir dir;
    const game::Status written = game::write_deck(dir.file("missing/dir/deck.txt"), game::Deck{});
    EXPECT_FALSE(written);
    EXPECT_NE(written.error().find("nu se poate scrie"), std::string::npos);
}

}  // namespace
