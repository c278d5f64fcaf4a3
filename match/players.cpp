#include "match/players.h"

#include <algorithm>
#include <filesystem>

#include "common/sandbox.h"
#include "match/settings.h"
#include "referee/cli.h"

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

// A tab only parts words.
bool has_control_byte(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f; });
}

// The name of a player given without one: its program's file name, made unique.
game::Status name_by_file(Player& player, const std::vector<Player>& players) {
    const std::string file_name = std::filesystem::path(player.command[0]).filename().string();
    std::string name = file_name;
    for (int n = 2; taken(name, players); ++n) name = file_name + "-" + std::to_string(n);
    if (game::Status valid = player_name_in("numele jucătorului", name); !valid) {
        return game::failure(valid.error() + " (dați-i un nume: NUME=COMANDĂ)");
    }
    player.name = name;
    return {};
}

}  // namespace

game::Result<std::vector<Player>> players_from(const std::vector<std::string>& given) {
    if (game::Status counted = player_count_in(given.size()); !counted) return game::failure(counted.error());
    std::vector<Player> players(given.size());
    // Names given come first, so that no file name takes one of them.
    for (std::size_t i = 0; i < given.size(); ++i) {
        const std::string name = name_in(given[i]);
        const std::vector<std::string> words = words_of(name.empty() ? given[i] : given[i].substr(name.size() + 1));
        if (words.empty()) return game::failure("jucătorul „" + cli::shown_value(given[i]) + "” nu are o comandă");
        // A control byte would make a CSV line that no reader takes back.
        if (has_control_byte(given[i])) {
            return game::failure("jucătorul „" + cli::shown_value(given[i]) + "” are un caracter de control");
        }
        if (!name.empty()) {
            const game::Status valid = player_name_in("numele jucătorului", name);
            if (!valid) return game::failure(valid.error());
            if (taken(name, players)) return game::failure("numele „" + name + "” este dat de două ori");
        }
        players[i].name = name;
        players[i].command = words;
    }
    for (Player& player : players) {
        if (!player.name.empty()) continue;
        if (game::Status named = name_by_file(player, players); !named) return game::failure(named.error());
    }
    // Games run in folders of their own: what a command names must not depend on ours.
    for (Player& player : players) player.command = proc::absolute_command(player.command);
    return players;
}

}  // namespace match
