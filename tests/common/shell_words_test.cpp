// Commands shown to people are pasted into a shell: what the shell reads
// back must be the words we meant.
#include <gtest/gtest.h>

#include "common/shell_words.h"
#include "tests/support/support.h"

namespace {

TEST(ShellWords, QuotesOnlyWhatTheShellWouldChange) {
    const struct {
        std::vector<std::string> words;
        const char* shown;
    } rows[] = {
        {{"/usr/bin/python3", "/home/ana/p.py"}, "/usr/bin/python3 /home/ana/p.py"},
        {{"./my player", "--depth=3"}, "'./my player' --depth=3"},
        {{"it's"}, "'it'\\''s'"},
        {{"a", ""}, "a ''"},
        {{"$HOME", "*", "x;y"}, "'$HOME' '*' 'x;y'"},
    };
    for (const auto& row : rows) EXPECT_EQ(game::shell_quoted(row.words), row.shown);
}

// The shell itself reads the quoted words back unchanged.
TEST(ShellWords, TheShellReadsBackTheSameWords) {
    const std::vector<std::string> words = {"printf", "%s|", "two words", "it's", "", "$HOME", "a\\b", "\"q\""};
    const auto result = testing_support::run({"/bin/sh", "-c", game::shell_quoted(words)}, "", ".");
    EXPECT_EQ(result.out, "two words|it's||$HOME|a\\b|\"q\"|");
}

// What is quoted is read back as the same words; an open quote is no command.
TEST(ShellWords, QuotedWordsAreReadBack) {
    const std::vector<std::vector<std::string>> commands = {
        {"/usr/bin/python3", "/home/ana/p.py"}, {"./my player", "it's", ""}, {"a\\b", "$x", "\"q\""}, {}};
    for (const auto& words : commands) EXPECT_EQ(game::shell_words(game::shell_quoted(words)), words);
    EXPECT_EQ(game::shell_words("a\\ b  c"), (std::vector<std::string>{"a b", "c"}));
    EXPECT_EQ(game::shell_words("'open"), std::nullopt);
}

}  // namespace
