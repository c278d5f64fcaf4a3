#include "match/tables.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "match/wording.h"

namespace match {

namespace {

constexpr const char* UNDEFINED = "—";  // a statistic that fewer than two games leave undefined
constexpr std::size_t CEILING_CELLS = 5;  // where a standing's two ceiling columns begin

std::string percent(double share) { return fixed(100 * share, 1) + "%"; }

// The first `width` columns of the text, with "…" in the last when it is cut.
std::string shortened(const std::string& text, std::size_t width) {
    if (display_width(text) <= width) return text;
    std::string cut;
    std::size_t cells = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool starts_cell = (text[i] & 0xC0) != 0x80;
        if (starts_cell && ++cells == width) break;
        cut += text[i];
    }
    return cut + "…";
}

// Columns of text, each padded to its widest cell; numbers to the right.
// The first column is a name, set apart by two blanks; the others by one.
class Table {
public:
    using Column = TableColumn;
    explicit Table(std::vector<Column> columns) : columns_(std::move(columns)) {}
    void row(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

    // How wide the columns after the first make a line.
    std::size_t rest_width() const {
        std::size_t total = 0;
        for (std::size_t c = 1; c < columns_.size(); ++c) total += (c == 1 ? 2 : 1) + width(c);
        return total;
    }

    std::string render() const {
        std::vector<std::string> headers;
        for (const Column& column : columns_) headers.push_back(column.header);
        std::string text = line(headers);
        for (const auto& r : rows_) text += line(r);
        return text;
    }

private:
    std::size_t width(std::size_t c) const {
        std::size_t w = display_width(columns_[c].header);
        for (const auto& r : rows_) w = std::max(w, display_width(r[c]));
        return w;
    }

    std::string line(const std::vector<std::string>& cells) const {
        std::string text;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::string padding(width(c) - display_width(cells[c]), ' ');
            if (c > 0) text += c == 1 ? "  " : " ";
            text += columns_[c].right ? padding + cells[c] : cells[c] + (c + 1 < cells.size() ? padding : "");
        }
        return text + "\n";
    }

    std::vector<Column> columns_;
    std::vector<std::vector<std::string>> rows_;
};

std::string mean_cell(const Summary& s, int decimals, bool sign) {
    if (s.n == 0) return UNDEFINED;
    return (sign && s.mean > 0 ? "+" : "") + fixed(s.mean, decimals);
}

std::string interval_cell(const Summary& s, int decimals) {
    return "± " + (s.n < 2 ? std::string(UNDEFINED) : fixed(s.half_width, decimals));
}

constexpr const char* INTERVAL_HEADER = "± IC95";

// Pads the numbers after "± " in one column to one width, the header's at
// least, so that the signs stand one under the other and under the header's.
void align_intervals(std::vector<std::vector<std::string>>& rows, std::size_t column) {
    std::size_t widest = display_width(INTERVAL_HEADER);
    for (const auto& cells : rows) widest = std::max(widest, display_width(cells[column]));
    for (auto& cells : rows) {
        const std::string number = cells[column].substr(std::string("± ").size());
        cells[column] = "± " + std::string(widest - display_width(cells[column]), ' ') + number;
    }
}

// A player stopped for faulting again and again says so beside its name.
std::string standing_label(const Standing& s) { return s.not_played > 0 ? s.name + " (oprit)" : s.name; }

std::vector<std::string> standing_cells(const Standing& s, bool ceiling) {
    const bool scored = s.scores.n > 0;
    std::vector<std::string> cells = {standing_label(s),
            mean_cell(s.scores, 1, false),
            interval_cell(s.scores, 1),
            scored ? fixed(s.scores.median, 1) : UNDEFINED,
            scored ? fixed(s.scores.min, 0) + "–" + fixed(s.scores.max, 0) : UNDEFINED,
            s.ceiling_share ? percent(*s.ceiling_share) : UNDEFINED,
            s.ceiling_reached ? percent(*s.ceiling_reached) : UNDEFINED,
            std::to_string(s.faults),
            fixed(s.ms_per_game, 1)};
    if (!ceiling) cells.erase(cells.begin() + CEILING_CELLS, cells.begin() + CEILING_CELLS + 2);
    return cells;
}

// The rows with their first cell made by `first(row, width)`, where width is
// what the page leaves the first column.
std::string fitted(const TableCells& cells,
                   const std::function<std::string(std::size_t row, std::size_t width)>& first) {
    Table measure(cells.columns);
    for (auto row : cells.rows) {
        row[0].clear();
        measure.row(row);
    }
    const std::size_t width = PAGE_WIDTH - measure.rest_width();
    Table table(cells.columns);
    for (std::size_t r = 0; r < cells.rows.size(); ++r) {
        auto row = cells.rows[r];
        row[0] = first(r, width);
        table.row(row);
    }
    return table.render();
}

std::vector<const Standing*> standings_of(const MatchSummary& summary) {
    std::vector<const Standing*> standings;
    for (const Standing& s : summary.players) standings.push_back(&s);
    if (summary.ceiling) standings.push_back(&*summary.ceiling);
    return standings;
}

// "A − B", each name shortened as little as the width allows.
std::string pair_label(const std::string& a, const std::string& b, std::size_t width) {
    const std::size_t names = width - 3;
    std::size_t wa = display_width(a), wb = display_width(b);
    if (wa + wb > names) {
        const std::size_t half = names / 2;
        if (wa <= half) {
            wb = names - wa;
        } else if (wb <= half) {
            wa = names - wb;
        } else {
            wa = half;
            wb = names - half;
        }
    }
    return shortened(a, wa) + " − " + shortened(b, wb);
}

// Each player's faults by kind, and its first one with the command that plays it again.
std::string faults_list(const MatchSummary& summary) {
    std::string text;
    for (const PlayerFaults& f : summary.faults) {
        text += "  " + f.player + ":";
        const char* separator = " ";
        for (const FaultCount& kind : f.kinds) {
            text += separator + std::to_string(kind.count) + " × " + kind.kind;
            separator = ", ";
        }
        if (f.not_played > 0) {
            text += "; oprit după greșeli la rând, " + count_of(f.not_played, GAMES_NOUN) +
                    (f.not_played == 1 ? " nejucat" : " nejucate");
        }
        text += "\n    prima, la împărțirea " + std::to_string(f.first_deal) + " (" + f.first_kind + "): " +
                f.first_message + "\n";
        if (!f.replay.empty()) text += "    se reia cu: " + f.replay + "\n";
    }
    return text;
}

}  // namespace

std::size_t display_width(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

TableCells standings_cells(const MatchSummary& summary) {
    TableCells cells{{{"jucător", false}, {"medie", true}, {INTERVAL_HEADER, true}, {"mediană", true},
                      {"min–max", true}, {"plafon", true}, {"atins", true}, {"greșeli", true}, {"ms/joc", true}}};
    const bool ceiling = summary.ceiling.has_value();
    if (!ceiling) cells.columns.erase(cells.columns.begin() + CEILING_CELLS, cells.columns.begin() + CEILING_CELLS + 2);
    for (const Standing* s : standings_of(summary)) cells.rows.push_back(standing_cells(*s, ceiling));
    align_intervals(cells.rows, 2);
    return cells;
}

TableCells pairs_cells(const MatchSummary& summary) {
    const bool all_deals = std::all_of(summary.pairs.begin(), summary.pairs.end(),
                                       [&](const PairComparison& p) { return p.difference.n == summary.deals; });
    TableCells cells{{{"A − B", false}, {"diferență", true}, {INTERVAL_HEADER, true}, {"", false}}};
    if (!all_deals) cells.columns.push_back({"împărțiri", true});
    for (const char* header : {"A>B", "A=B", "A<B"}) cells.columns.push_back({header, true});
    for (const PairComparison& p : summary.pairs) {
        std::vector<std::string> row = {summary.players[p.a].name + " − " + summary.players[p.b].name,
                                        mean_cell(p.difference, 2, true), interval_cell(p.difference, 2),
                                        p.significant() ? "*" : ""};
        if (!all_deals) row.push_back(std::to_string(p.difference.n));
        for (int count : {p.a_wins, p.ties, p.b_wins}) row.push_back(std::to_string(count));
        cells.rows.push_back(row);
    }
    align_intervals(cells.rows, 2);
    return cells;
}

TableCells decisions_cells(const MatchSummary& summary) {
    TableCells cells{{{"A − B", false}, {"hotărâre", false}, {"la împărțirea", true}, {"interval oricând", true}}};
    const auto name_of = [&](std::size_t player) {
        for (const Standing& s : summary.players) {
            if (s.player == player) return s.name;
        }
        return std::string();
    };
    for (const PairDecision& pair : summary.decisions) {
        const Decision& decision = pair.decision;
        const bool decided = decision.verdict != Verdict::undecided;
        cells.rows.push_back({name_of(pair.a) + " − " + name_of(pair.b), verdict_text(decision.verdict),
                              decided ? std::to_string(decision.deals) : UNDEFINED,
                              "[" + fixed(pair.sequence.lower(), 2) + ", " + fixed(pair.sequence.upper(), 2) + "]"});
    }
    return cells;
}

std::string decisions_heading(const MatchSummary& summary) {
    const MatchConfig::Decide& decide = *summary.decide;
    std::string text = "Hotărârile (--decide): greșite cu probabilitatea de cel mult " + fixed(decide.alpha, 3) +
                       " în total,\noricând s-ar fi oprit meciul";
    if (decide.margin > 0) text += "; egali: diferența stă între ±" + fixed(decide.margin, 2);
    return text + ":\n";
}

std::string match_tables(const MatchSummary& summary) {
    std::string text =
        "Jucătorii, după scorul mediu pe " + part_of(summary.deals, summary.total_deals, DEALS_NOUN) + ":\n";
    const auto standings = standings_of(summary);
    text += fitted(standings_cells(summary),
                   [&](std::size_t r, std::size_t width) { return shortened(standing_label(*standings[r]), width); });
    if (summary.ceiling) text += "plafon: partea medie din plafonul împărțirii; atins: cât de des l-a atins\n";
    if (!summary.pairs.empty()) {
        text += "\nDiferența de scor pe împărțire, A − B, unde amândoi au jucat fără greșeli\n";
        text += "(*: intervalul de 95% nu cuprinde zero, deci diferența nu e întâmplătoare):\n";
        text += fitted(pairs_cells(summary), [&](std::size_t r, std::size_t width) {
            const PairComparison& p = summary.pairs[r];
            return pair_label(summary.players[p.a].name, summary.players[p.b].name, width);
        });
    }
    if (summary.decide) {
        text += "\n" + decisions_heading(summary);
        const TableCells decisions = decisions_cells(summary);
        text += fitted(decisions,
                       [&](std::size_t r, std::size_t width) { return shortened(decisions.rows[r][0], width); });
    }
    if (!summary.faults.empty()) text += "\nGreșeli:\n" + faults_list(summary);
    return text;
}

}  // namespace match
