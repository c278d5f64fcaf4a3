#include <gtest/gtest.h>

#include "common/record.h"
#include "tests/support/support.h"

namespace {

using testing_support::read_file;
using testing_support::TempDir;
using testing_support::write_file;

// The ascending deck placed card k into column k mod 4: four straight flushes.
game::Deal ascending_deal() {
    game::Deal deal;
    for (int k = 0; k < game::DEALT; ++k) deal[k] = game::Placement{game::card_of_code(k), k % 4};
    return deal;
}

std::string ascending_record_text() {
    std::string text = "0\n400\n8 100 8 100 8 100 8 100 \n";
    for (int k = 0; k < 20; ++k) {
        text += std::to_string(k / 4) + " " + std::to_string(k % 4) + " " + std::to_string(k % 4) + "\n";
    }
    return text;
}

struct Read {
    bool ok;
    game::GameRecord record;
    std::string error;
};

Read read_text(const TempDir& dir, const std::string& text) {
    write_file(dir.file("game.dat"), text);
    const game::Result<game::GameRecord> record = game::read_record(dir.file("game.dat"));
    if (!record) return {false, {}, record.error()};
    return {true, *record, ""};
}

TEST(GameRecord, ScoresAndFormatsTheSuccessForm) {
    const game::GameRecord record = game::scored_record(ascending_deal());
    EXPECT_EQ(record.total, 400);
    EXPECT_EQ(game::format_record(record), ascending_record_text());
}

TEST(GameRecord, WrittenRecordReadsBack) {
    TempDir dir;
    game::Deal deal = ascending_deal();
    std::swap(deal[4].column, deal[5].column);  // round 1: columns 1 0 2 3
    const game::GameRecord written = game::scored_record(deal);
    const game::Status saved = game::write_record(dir.file("game.dat"), written);
    ASSERT_TRUE(saved) << saved.error();
    const game::Result<game::GameRecord> read = game::read_record(dir.file("game.dat"));
    ASSERT_TRUE(read) << read.error();
    const game::GameRecord& back = *read;
    EXPECT_EQ(back.total, written.total);
    EXPECT_EQ(back.categories, written.categories);
    EXPECT_EQ(back.points, written.points);
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(back.cards[k].card, written.cards[k].card);
        EXPECT_EQ(back.cards[k].column, written.cards[k].column);
    }
}

TEST(GameRecord, NumbersSpreadOverLinesReadTheSame) {
    TempDir dir;
    std::string text = ascending_record_text();
    for (char& c : text) {
        if (c == ' ') c = '\n';
    }
    const Read r = read_text(dir, "  " + text);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(game::format_record(r.record), ascending_record_text());
}

TEST(GameRecord, PointsAndTotalAreTakenAsWritten) {
    TempDir dir;
    std::string text = ascending_record_text();
    text.replace(0, 6, "0\n-7\n");  // "0\n400\n" -> a total that disagrees with the cards
    const Read r = read_text(dir, text);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.record.total, -7);
}

TEST(GameRecordErrorForm, WrittenAsStatusAndOneLine) {
    const game::GameRecord record = game::error_record(4, "Niciun răspuns\nla cartea 3");
    EXPECT_EQ(game::format_record(record), "4\nNiciun răspuns la cartea 3\n");
    const game::GameRecord long_one = game::error_record(1, std::string(5000, 'x'));
    EXPECT_EQ(long_one.message.size(), 998u);  // with its line feed, 999 bytes are shown
}

TEST(GameRecordErrorForm, BlankLinesAndIndentationBeforeTheMessageAreSkipped) {
    TempDir dir;
    const Read r = read_text(dir, "3\n\n\n    Jucătorul a ieșit\nmore\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.record.status, 3);
    EXPECT_EQ(r.record.message, "Jucătorul a ieșit\n");
}

TEST(GameRecordErrorForm, MessageMayStandOnTheStatusLine) {
    TempDir dir;
    const Read r = read_text(dir, "-2 eroare pe aceeași linie\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.record.status, -2);
    EXPECT_EQ(r.record.message, "eroare pe aceeași linie\n");
}

TEST(GameRecordErrorForm, AtMost999BytesOfTheMessageAreRead) {
    TempDir dir;
    const Read r = read_text(dir, "1\n" + std::string(2000, 'y') + "\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.record.message, std::string(999, 'y'));
    const Read unterminated = read_text(dir, "1\nno line feed");
    ASSERT_TRUE(unterminated.ok);
    EXPECT_EQ(unterminated.record.message, "no line feed");
}

struct BadRecord {
    const char* name;
    std::string text;
    std::string error_part;
};

std::string with_card_line(int k, const std::string& line) {
    std::string text = ascending_record_text();
    std::size_t start = 0;
    for (int i = 0; i < 3 + k; ++i) start = text.find('\n', start) + 1;
    text.replace(start, text.find('\n', start) - start, line);
    return text;
}

class BadGameRecord : public ::testing::TestWithParam<BadRecord> {};

TEST_P(BadGameRecord, IsRejectedWithAMessage) {
    TempDir dir;
    const Read r = read_text(dir, GetParam().text);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(dir.file("game.dat")), std::string::npos) << r.error;
    EXPECT_NE(r.error.find(GetParam().error_part), std::string::npos) << r.error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadGameRecord,
    ::testing::Values(
        BadRecord{"empty", "", "înainte de starea jocului"},
        BadRecord{"status_not_a_number", "ok\n", "în loc de starea jocului este „ok”"},
        BadRecord{"error_without_message", "2\n\n  \n", "starea 2 nu este urmată de un mesaj"},
        BadRecord{"truncated", ascending_record_text().substr(0, 60), "se termină înainte de"},
        BadRecord{"text_for_a_number", "0\n400\n8 100 x 100", "în loc de categoria coloanei 2 este „x”"},
        BadRecord{"category_too_high", "0\n400\n9 100 8 100 8 100 8 100",
                  "coloana 1: categoria 9 nu este între 0 și 8"},
        BadRecord{"negative_category", "0\n400\n8 100 8 100 8 100 -1 100", "coloana 4: categoria -1"},
        BadRecord{"rank_out_of_range", with_card_line(6, "6 2 2"), "cartea 7: rangul 6 nu este între 0 și 5"},
        BadRecord{"suit_out_of_range", with_card_line(0, "0 4 0"), "cartea 1: culoarea 4 nu este între 0 și 3"},
        BadRecord{"column_out_of_range", with_card_line(19, "4 3 4"), "cartea 20: coloana 4 nu este între 0 și 3"},
        BadRecord{"column_six_times", with_card_line(19, "4 3 0"),
                  "cartea 20: coloana cu indicele 0 apare de mai mult de cinci ori"},
        BadRecord{"status_too_large", "99999999999\nmsg\n", "starea jocului este prea mare"}),
    [](const auto& info) { return info.param.name; });

TEST(GameRecordFile, MissingAndDirectory) {
    TempDir dir;
    const game::Result<game::GameRecord> absent = game::read_record(dir.file("game.dat"));
    EXPECT_FALSE(absent);
    EXPECT_NE(absent.error().find("nu se poate deschide"), std::string::npos) << absent.error();
    const game::Result<game::GameRecord> folder = game::read_record(dir.path());
    EXPECT_FALSE(folder);
    EXPECT_NE(folder.error().find("nu se poate citi"), std::string::npos) << folder.error();
}

TEST(GameRecordFile, FailedWriteKeepsTheOldRecord) {
    TempDir dir;
    write_file(dir.file("game.dat"), "old");
    EXPECT_FALSE(game::write_record(dir.file("no/such/dir/game.dat"), game::error_record(1, "x")));
    EXPECT_EQ(read_file(dir.file("game.dat")), "old");
}

}  // namespace
