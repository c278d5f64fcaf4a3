#include "match/merge.h"

#include <algorithm>
#include <map>

namespace match {

namespace {

std::string identity_of(const MatchCsv& csv) {
    const std::string players = names_of(csv.players);
    return "sămânța " + std::to_string(csv.seed) + ", " + std::to_string(csv.deals) + " împărțiri, " +
           (csv.ceiling ? "cu" : "fără") + " plafon, jucătorii " + players;
}

}  // namespace

std::string deal_list(const std::vector<int>& indexes) {
    std::string text;
    for (std::size_t i = 0; i < indexes.size() && i < 10; ++i) text += (i ? ", " : "") + std::to_string(indexes[i] + 1);
    return indexes.size() > 10 ? text + ", …" : text;
}

game::Result<Merged> merge_csvs(const std::vector<MatchCsv>& files) {
    Merged merged;
    const MatchCsv* first = nullptr;
    std::map<int, const MatchCsv*> holder;  // deal index -> the file that holds it
    for (const MatchCsv& csv : files) {
        if (csv.players.empty()) continue;  // a match stopped before its first deal: nothing to join
        if (!first) first = &csv;
        // Players by name: the machines of a cluster may keep a player's program in different places.
        if (csv.seed != first->seed || csv.deals != first->deals || csv.ceiling != first->ceiling ||
            csv.timeout_ms != first->timeout_ms || names_of(csv.players) != names_of(first->players)) {
            return game::failure(csv.path + " este din alt meci decât " + first->path + ": " + identity_of(csv) +
                                 ", nu " + identity_of(*first));
        }
        for (const DealOutcome& deal : csv.outcomes) {
            const auto [held, added] = holder.emplace(deal.index, &csv);
            if (!added) {
                return game::failure("împărțirea " + std::to_string(deal.index + 1) + " este și în " +
                                     held->second->path + ", și în " + csv.path);
            }
            merged.deals.push_back(deal);
        }
    }
    if (!first) return game::failure("niciunul dintre fișiere nu are vreo împărțire jucată întreagă");
    merged.config.seed = first->seed;
    merged.config.deals = first->deals;
    merged.config.ceiling = first->ceiling;
    // The commands of the first file that names them: a replay needs one.
    merged.config.players = first->players;
    for (const MatchCsv& csv : files) {
        if (csv.has_commands && !csv.players.empty()) {
            merged.config.players = csv.players;
            break;
        }
    }
    if (first->timeout_ms > 0) merged.config.timeout_ms = first->timeout_ms;
    std::sort(merged.deals.begin(), merged.deals.end(),
              [](const DealOutcome& a, const DealOutcome& b) { return a.index < b.index; });
    for (int d = 0; d < first->deals; ++d) {
        if (!holder.contains(d)) merged.missing.push_back(d);
    }
    return merged;
}

}  // namespace match
