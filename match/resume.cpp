#include "match/resume.h"

#include <algorithm>

#include "match/csv.h"
#include "match/players.h"
#include "match/wording.h"

namespace match {

namespace {

// The players of the file, in its order. Those the command line names must
// be the same, by name, in any order; each one's command must be the file's,
// unless the file is of the kind that did not keep commands.
game::Result<std::vector<Player>> players_of_match(const MatchCsv& csv, const std::vector<std::string>& operands) {
    if (operands.empty()) {
        if (!csv.has_commands) {
            return game::failure(csv.path + " nu păstrează comenzile jucătorilor: dați-i ca la început (" +
                                 names_of(csv.players) + ")");
        }
        return csv.players;
    }
    game::Result<std::vector<Player>> given = players_from(operands);
    if (!given) return given;
    const bool same_names = given->size() == csv.players.size() &&
                            std::all_of(csv.players.begin(), csv.players.end(), [&](const Player& in_file) {
                                return std::any_of(given->begin(), given->end(),
                                                   [&](const Player& p) { return p.name == in_file.name; });
                            });
    if (!same_names) return game::failure(csv.path + " este al altui meci: jucătorii " + names_of(csv.players));
    std::vector<Player> players = csv.players;
    for (Player& player : players) {
        const Player& named = *std::find_if(given->begin(), given->end(), [&](const Player& p) {
            return p.name == player.name;
        });
        if (csv.has_commands && named.command != player.command) {
            return game::failure(csv.path + ": jucătorul " + player.name + " are în fișier altă comandă");
        }
        player.command = named.command;
    }
    return players;
}

// The settings of the file, unless the command line says otherwise.
game::Status take_match_of(const MatchCsv& csv, Options& options) {
    MatchConfig& config = options.config;
    const std::pair<bool, std::string> checks[] = {
        {!options.has_seed || config.seed == csv.seed, "sămânța " + std::to_string(csv.seed)},
        {!options.has_deals || config.deals == csv.deals, count_of(csv.deals, DEALS_NOUN)},
        {!options.has_shard || config.shard == csv.shard, "partea " + csv.shard.text()},
        {!options.no_ceiling || !csv.ceiling, "cu plafon"},
        {!options.has_timeout || csv.timeout_ms == 0 || config.timeout_ms == csv.timeout_ms,
         "--timeout-ms " + std::to_string(csv.timeout_ms)},
    };
    for (const auto& [agrees, in_file] : checks) {
        if (!agrees) return game::failure(csv.path + " este al altui meci: " + in_file);
    }
    game::Result<std::vector<Player>> players = players_of_match(csv, options.operands);
    if (!players) return game::failure(players.error());
    config.players = std::move(*players);
    config.seed = csv.seed;
    config.deals = csv.deals;
    config.shard = csv.shard;
    config.ceiling = csv.ceiling;
    if (csv.timeout_ms > 0) config.timeout_ms = csv.timeout_ms;
    return {};
}

}  // namespace

game::Result<std::vector<DealOutcome>> resume(Options& options, void (*note)(const std::string& message)) {
    const game::Result<MatchCsv> read = read_match_csv(options.resume_path);
    if (!read) return game::failure(read.error());
    if (const game::Status taken = take_match_of(*read, options); !taken) return game::failure(taken.error());
    if (read->torn || read->incomplete_deals > 0) {
        note(options.resume_path + ": ultima împărțire, neîncheiată, se joacă din nou");
    }
    return read->outcomes;
}

std::vector<int> deals_left(const MatchConfig& config, const std::vector<DealOutcome>& done) {
    std::vector<bool> is_done(static_cast<std::size_t>(config.deals));
    for (const DealOutcome& deal : done) is_done[static_cast<std::size_t>(deal.index)] = true;
    std::vector<int> left;
    for (int d : deals_of_shard(config)) {
        if (!is_done[static_cast<std::size_t>(d)]) left.push_back(d);
    }
    return left;
}

}  // namespace match
