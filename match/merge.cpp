#include "match/merge.h"

#include <algorithm>
#include <map>

namespace match {

namespace {

// The first row tells the match of a file.
constexpr int FIRST_ROW = 2;

std::string at(const std::string& path, int line) { return path + ", rândul " + std::to_string(line) + ": "; }

std::string identity_of(const MatchCsv& csv) {
    const std::string players = names_of(csv.players);
    return "sămânța " + std::to_string(csv.seed) + ", " + std::to_string(csv.deals) + " împărțiri, " +
           (csv.ceiling ? "cu" : "fără") + " plafon, jucătorii " + players;
}

bool same_match(const MatchCsv& a, const MatchCsv& b) {
    // Players by name: the machines of a cluster may keep a player's program in different places.
    return a.seed == b.seed && a.deals == b.deals && a.ceiling == b.ceiling && a.timeout_ms == b.timeout_ms &&
           names_of(a.players) == names_of(b.players);
}

// The match's deals between the ones held, `held` sorted by index.
std::vector<DealRange> gaps_between(const std::vector<DealOutcome>& held, int deals) {
    std::vector<DealRange> gaps;
    int next = 0;
    for (const DealOutcome& deal : held) {
        if (deal.index > next) gaps.push_back({next, deal.index - 1});
        next = deal.index + 1;
    }
    if (next < deals) gaps.push_back({next, deals - 1});
    return gaps;
}

// The commands of the first file that names them: a replay needs one.
std::vector<Player> players_with_commands(const std::vector<MatchCsv>& files) {
    for (const MatchCsv& csv : files) {
        if (csv.has_commands) return csv.players;
    }
    return files.front().players;
}

}  // namespace

std::string deal_ranges(const std::vector<DealRange>& ranges) {
    std::string text;
    for (std::size_t i = 0; i < ranges.size() && i < 10; ++i) {
        const DealRange& range = ranges[i];
        text += (i ? ", " : "") + std::to_string(range.first + 1);
        if (range.last > range.first) text += "–" + std::to_string(range.last + 1);
    }
    return ranges.size() > 10 ? text + ", …" : text;
}

game::Result<Merged> merge_csvs(const std::vector<MatchCsv>& files) {
    Merged merged;
    const MatchCsv& first = files.front();
    std::map<int, std::pair<const MatchCsv*, int>> holder;  // deal index -> the file and the line that hold it
    for (const MatchCsv& csv : files) {
        if (!same_match(csv, first)) {
            return game::failure(at(csv.path, FIRST_ROW) + "este din alt meci decât " + first.path + ": " +
                                 identity_of(csv) + ", nu " + identity_of(first));
        }
        for (std::size_t d = 0; d < csv.outcomes.size(); ++d) {
            const DealOutcome& deal = csv.outcomes[d];
            const auto [held, added] = holder.emplace(deal.index, std::pair(&csv, csv.lines[d]));
            if (!added) {
                return game::failure(at(csv.path, csv.lines[d]) + "împărțirea " + std::to_string(deal.index + 1) +
                                     " este și în " + held->second.first->path + ", rândul " +
                                     std::to_string(held->second.second));
            }
            merged.deals.push_back(deal);
        }
    }
    merged.config.seed = first.seed;
    merged.config.deals = first.deals;
    merged.config.ceiling = first.ceiling;
    merged.config.players = players_with_commands(files);
    if (first.timeout_ms > 0) merged.config.timeout_ms = first.timeout_ms;
    std::sort(merged.deals.begin(), merged.deals.end(),
              [](const DealOutcome& a, const DealOutcome& b) { return a.index < b.index; });
    merged.missing = gaps_between(merged.deals, first.deals);
    merged.missing_count = first.deals - static_cast<int>(merged.deals.size());
    return merged;
}

}  // namespace match
