// A match's CSV (what match --merge and --resume read) fed from arbitrary
// bytes, and the merge checks behind it. A refused file gets one clean line
// naming the file and the row. An accepted one holds only what a match could
// have written: players within the settings' ranges, each deal of its match
// and shard once, with all their games; written out again it reads back the
// same. Merged alone, its missing deals take at most one range more than the
// deals it holds; merged with itself, its deals are held twice. An input with
// a line "#2" is two files, before and after it, merged.
#include <cstdio>
#include <set>
#include <string>

#include "fuzz/support.h"
#include "match/csv.h"
#include "match/merge.h"
#include "match/settings.h"

namespace {

const std::string FIRST = "a.csv";
const std::string SECOND = "b.csv";
constexpr std::string_view SPLIT = "\n#2\n";

game::Result<match::MatchCsv> read(std::string_view bytes, const std::string& path) {
    std::FILE* file = fuzz::open_bytes(bytes);
    fuzz::require(file != nullptr, "the bytes open as a stream");
    game::Result<match::MatchCsv> csv = match::read_match_csv(file, path);
    std::fclose(file);
    return csv;
}

bool names_a_row(const std::string& error, const std::string& path) {
    return error.starts_with(path + ", rândul ") && fuzz::is_one_clean_line(error);
}

match::MatchConfig config_of(const match::MatchCsv& csv) {
    match::MatchConfig config;
    config.seed = csv.seed;
    config.deals = csv.deals;
    config.shard = csv.shard;
    config.ceiling = csv.ceiling;
    config.timeout_ms = csv.timeout_ms;
    config.players = csv.players;
    return config;
}

void check_players(const match::MatchCsv& csv) {
    fuzz::require(!csv.players.empty() && match::player_count_in(csv.players.size()), "1..64 players");
    std::set<std::string> names;
    for (const match::Player& player : csv.players) {
        fuzz::require(static_cast<bool>(match::player_name_in("player", player.name)),
                      "a name as the command line takes it");
        fuzz::require(names.insert(player.name).second, "a name once");
        fuzz::require(!csv.has_commands || !player.command.empty(), "a command where the file keeps them");
    }
}

void check_deals(const match::MatchCsv& csv) {
    fuzz::require(csv.outcomes.size() == csv.lines.size(), "a line for each deal");
    int previous = -1;
    for (const match::DealOutcome& deal : csv.outcomes) {
        fuzz::require(deal.index > previous && deal.index < csv.deals, "deals of the match, in order, once");
        fuzz::require(csv.shard.holds(deal.index), "deals of the file's shard");
        fuzz::require(deal.games.size() == csv.players.size(), "a game for every player");
        fuzz::require(deal.seed == match::deal_seed(csv.seed, deal.index), "the deal's own seed");
        previous = deal.index;
    }
}

// Written as match writes it and read again, it is the same file.
void check_written_again(const match::MatchCsv& csv) {
    if (!csv.has_commands) return;  // the older kind: rewritten, it would need commands it does not have
    const std::string written = match::match_csv(config_of(csv), csv.outcomes);
    const game::Result<match::MatchCsv> again = read(written, FIRST);
    fuzz::require(static_cast<bool>(again), "what match writes, it reads");
    fuzz::require(match::match_csv(config_of(*again), again->outcomes) == written, "written again, the same");
}

void check_merged_alone(const match::MatchCsv& csv) {
    const game::Result<match::Merged> merged = match::merge_csvs({csv});
    fuzz::require(static_cast<bool>(merged), "a file merges alone");
    fuzz::require(merged->missing.size() <= csv.outcomes.size() + 1, "the missing ranges grow with the deals held");
    long long missing = 0;
    int next = 0;
    for (const match::DealRange& range : merged->missing) {
        fuzz::require(range.first >= next && range.first <= range.last, "ranges in order, apart");
        missing += range.last - range.first + 1;
        next = range.last + 2;
    }
    fuzz::require(next <= csv.deals + 1, "ranges within the match");
    fuzz::require(missing == merged->missing_count, "the ranges hold the deals counted missing");
    fuzz::require(merged->missing_count + static_cast<long long>(merged->deals.size()) == csv.deals,
                  "every deal held or missing");
    if (csv.outcomes.empty()) return;
    const game::Result<match::Merged> twice = match::merge_csvs({csv, csv});
    fuzz::require(!twice && names_a_row(twice.error(), FIRST), "a deal held twice is refused, with its row");
}

void check_accepted(const match::MatchCsv& csv) {
    check_players(csv);
    check_deals(csv);
    check_written_again(csv);
    check_merged_alone(csv);
}

// Each file read; both accepted, merged.
void check_files(std::string_view first_bytes, std::string_view second_bytes) {
    const game::Result<match::MatchCsv> first = read(first_bytes, FIRST);
    const game::Result<match::MatchCsv> second = read(second_bytes, SECOND);
    fuzz::require(first || names_a_row(first.error(), FIRST), "a refusal names the file and the row");
    fuzz::require(second || names_a_row(second.error(), SECOND), "a refusal names the file and the row");
    if (!first || !second) return;
    const game::Result<match::Merged> merged = match::merge_csvs({*first, *second});
    if (!merged) {
        fuzz::require(names_a_row(merged.error(), SECOND), "a refused merge names the file and the row");
        return;
    }
    const std::size_t held = first->outcomes.size() + second->outcomes.size();
    fuzz::require(merged->deals.size() == held, "every deal of both files");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytes_of(data, size);
    if (const std::size_t split = bytes.find(SPLIT); split != std::string_view::npos) {
        check_files(bytes.substr(0, split + 1), bytes.substr(split + SPLIT.size()));
        return 0;
    }
    const game::Result<match::MatchCsv> csv = read(bytes, FIRST);
    if (!csv) {
        fuzz::require(names_a_row(csv.error(), FIRST), "a refusal is one clean line naming the file and the row");
        return 0;
    }
    check_accepted(*csv);
    return 0;
}
