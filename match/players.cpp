#include "match/players.h"

#include <algorithm>
#include <filesystem>

#include "common/sandbox.h"

namespace match {

namespace {

bool is_name_character(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
           c == '-' || c == '+';
}

// The name of NAME=COMMAND, or "" when the word is a command only (a path
// may hold an '=' too: only a name of safe characters before it counts).
std::string name_in(const std::string& word) {
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos || equals == 0) return "";
    const std::string name = word.substr(0, equals);
    if (name == "." || name == ".." || name.front() == '-') return "";
    return std::all_of(name.begin(), name.end(), is_name_character) ? name : "";
}

std::vector<std::string> words_of(const std::string& command) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while ((start = command.find_first_not_of(" \t", start)) != std::string::npos) {
        const std::size_t end = command.find_first_of(" \t", start);
        words.push_back(command.substr(start, end - start));
        start = end;
    }
    return words;
}

bool taken(const std::string& name, const std::vector<Player>& players) {
    return name == CEILING_LABEL ||
           std::any_of(players.begin(), players.end(), [&](const Player& p) { return p.name == name; });
}

}  // namespace

game::Result<std::vector<Player>> players_from(const std::vector<std::string>& given) {
    std::vector<Player> players(given.size());
    // Names given come first, so that no file name takes one of them.
    for (std::size_t i = 0; i < given.size(); ++i) {
        const std::string name = name_in(given[i]);
        const std::vector<std::string> words = words_of(name.empty() ? given[i] : given[i].substr(name.size() + 1));
        if (words.empty()) return game::failure("jucătorul „" + given[i] + "” nu are o comandă");
        if (!name.empty() && taken(name, players)) {
            return game::failure(name == CEILING_LABEL ? "numele „" + name + "” este al plafonului"
                                                       : "numele „" + name + "” este dat de două ori");
        }
        players[i].name = name;
        players[i].command = words;
    }
    for (Player& player : players) {
        if (!player.name.empty()) continue;
        const std::string file_name = std::filesystem::path(player.command[0]).filename().string();
        std::string name = file_name;
        for (int n = 2; taken(name, players); ++n) name = file_name + "-" + std::to_string(n);
        player.name = name;
    }
    // Games run in folders of their own: what a command names must not depend on ours.
    for (Player& player : players) player.command = proc::absolute_command(player.command);
    return players;
}

}  // namespace match
