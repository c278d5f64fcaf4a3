#include "tools/play/rivals.h"

#include <iterator>
#include <thread>

#include "common/process.h"
#include "common/programs.h"
#include "match/players.h"
#include "referee/game_driver.h"

namespace play {

game::Status Rivals::open(const proc::SandboxSettings& settings, int timeout_ms,
                          const std::vector<std::string>& outputs) {
    timeout_ms_ = timeout_ms;
    game::Result<std::vector<match::Player>> players =
        match::players_from(std::vector<std::string>(std::begin(game::PLAYERS), std::end(game::PLAYERS)));
    if (!players) return game::failure(players.error());
    players_ = std::move(*players);
    if (const game::Status made = scratch_.make("play"); !made) return made;
    const int slots = static_cast<int>(players_.size());
    if (const game::Status opened = sandbox_.open(settings, slots, scratch_.path()); !opened) return opened;
    std::vector<std::vector<std::string>> commands;
    for (const match::Player& player : players_) commands.push_back(player.command);
    if (const std::string exposed = sandbox_.exposed_output(commands, outputs); !exposed.empty()) {
        return game::failure(exposed);
    }
    return {};
}

std::string Rivals::isolation_note() const {
    if (sandbox_.isolation().missing().empty()) return "";
    return "izolarea jucătorilor: " + sandbox_.isolation().summary();
}

Rival Rivals::play_one(std::size_t player, const game::Deck& deck) {
    referee::GameOptions options;
    options.timeout_ms = timeout_ms_;
    options.scratch_root = scratch_.path();
    options.capture_stderr = true;  // our screen is no place for it
    options.sandbox = &sandbox_;
    options.slot = static_cast<int>(player);
    referee::GameResult result;
    std::string error;
    Rival rival;
    rival.name = players_[player].name;
    switch (referee::play_game(deck, players_[player].command, options, result, error)) {
        case referee::Played::yes: break;
        case referee::Played::not_started: rival.problem = "nu pornește"; return rival;
        case referee::Played::harness_error:
        case referee::Played::interrupted: rival.problem = "nejucat"; return rival;
    }
    rival.scored = result.fault == referee::Fault::none;
    rival.score = result.record.total;
    if (!rival.scored) rival.problem = referee::fault_name(result.fault);
    return rival;
}

game::Result<std::vector<Rival>> Rivals::play(const game::Deck& deck) {
    std::vector<Rival> rivals(players_.size());
    std::vector<std::jthread> games;  // joined however this ends
    for (std::size_t p = 0; p < players_.size(); ++p) {
        games.emplace_back([this, p, &deck, &rivals] {
            try {
                rivals[p] = play_one(p, deck);
            } catch (const std::exception&) {  // ours, never the player's
                rivals[p].name = players_[p].name;
                rivals[p].problem = "eroare internă";
            }
        });
    }
    games.clear();  // every game is over
    if (proc::interrupt_signal() != 0) return game::failure("întrerupt");
    return rivals;
}

game::Status Rivals::close() {
    sandbox_.close();
    return scratch_.remove();
}

}  // namespace play
