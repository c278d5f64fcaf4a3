#include "match/resume.h"

#include <algorithm>

#include "match/csv.h"
#include "match/wording.h"

namespace match {

namespace {

// The settings of the file, unless the command line says otherwise.
game::Status take_match_of(const MatchCsv& csv, Options& options) {
    MatchConfig& config = options.config;
    if (csv.players.empty()) return {};  // stopped before its first deal: nothing to agree with
    std::vector<std::string> names;
    for (const Player& player : config.players) names.push_back(player.name);
    std::string listed;
    for (const std::string& name : csv.players) listed += (listed.empty() ? "" : ", ") + name;
    const std::pair<bool, std::string> checks[] = {
        {!options.has_seed || config.seed == csv.seed, "sămânța " + std::to_string(csv.seed)},
        {!options.has_deals || config.deals == csv.deals, count_of(csv.deals, DEALS_NOUN)},
        {!options.has_shard || config.shard == csv.shard, "partea " + csv.shard.text()},
        {!options.no_ceiling || !csv.ceiling, "cu plafon"},
        {names == csv.players, "jucătorii " + listed},
    };
    for (const auto& [agrees, in_file] : checks) {
        if (!agrees) return game::failure(csv.path + " este al altui meci: " + in_file);
    }
    config.seed = csv.seed;
    config.deals = csv.deals;
    config.shard = csv.shard;
    config.ceiling = csv.ceiling;
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
    std::vector<int> left;
    for (int d : deals_of_shard(config)) {
        if (std::none_of(done.begin(), done.end(), [&](const DealOutcome& deal) { return deal.index == d; })) {
            left.push_back(d);
        }
    }
    return left;
}

}  // namespace match
