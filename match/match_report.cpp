#include "match/match_report.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "match/stats.h"

namespace match {

namespace {

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string percent(double share) { return fixed(100 * share, 1) + "%"; }

// Columns of text, each padded to the widest cell; numbers to the right.
class Table {
public:
    struct Column {
        std::string header;
        bool right;
    };
    explicit Table(std::vector<Column> columns) : columns_(std::move(columns)) {}
    void row(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

    std::string render() const {
        std::vector<std::size_t> width(columns_.size());
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            width[c] = display_width(columns_[c].header);
            for (const auto& r : rows_) width[c] = std::max(width[c], display_width(r[c]));
        }
        std::vector<std::string> headers;
        for (const Column& column : columns_) headers.push_back(column.header);
        std::string text = line(headers, width);
        for (const auto& r : rows_) text += line(r, width);
        return text;
    }

private:
    std::string line(const std::vector<std::string>& cells, const std::vector<std::size_t>& width) const {
        std::string text;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::string padding(width[c] - display_width(cells[c]), ' ');
            if (c > 0) text += "  ";
            text += columns_[c].right ? padding + cells[c] : cells[c] + (c + 1 < cells.size() ? padding : "");
        }
        return text + "\n";
    }

    std::vector<Column> columns_;
    std::vector<std::vector<std::string>> rows_;
};

struct PlayerFigures {
    std::vector<double> scores;   // games without a fault
    std::vector<double> shares;   // score / ceiling, where the deal has one
    int reached = 0;              // games that scored the ceiling
    int games = 0;
    double seconds = 0;
    std::map<std::string, int> faults;
};

PlayerFigures figures_of(const std::vector<DealOutcome>& deals, std::size_t p) {
    PlayerFigures f;
    for (const DealOutcome& deal : deals) {
        const GameOutcome& game = deal.games[p];
        ++f.games;
        f.seconds += game.seconds;
        if (game.fault != Fault::none) {
            ++f.faults[fault_name(game.fault)];
            continue;
        }
        f.scores.push_back(game.score);
        if (deal.ceiling > 0) {
            f.shares.push_back(static_cast<double>(game.score) / deal.ceiling);
            f.reached += game.score == deal.ceiling;
        }
    }
    return f;
}

std::vector<std::string> score_cells(const Summary& s) {
    if (s.n == 0) return {"-", "-", "-", "-", "-"};
    return {fixed(s.mean, 1), fixed(s.half_width, 1), fixed(s.median, 1), fixed(s.min, 0), fixed(s.max, 0)};
}

std::string players_table(const MatchConfig& config, const std::vector<DealOutcome>& deals) {
    Table table({{"jucător", false}, {"jocuri", true}, {"greșeli", true}, {"medie", true}, {"±IC95", true},
                 {"mediană", true}, {"min", true}, {"max", true}, {"% plafon", true}, {"plafon atins", true},
                 {"ms/joc", true}});
    for (std::size_t p = 0; p < config.players.size(); ++p) {
        const PlayerFigures f = figures_of(deals, p);
        int faults = 0;
        for (const auto& [name, count] : f.faults) faults += count;
        std::vector<std::string> cells = {config.players[p].name, std::to_string(f.games), std::to_string(faults)};
        for (std::string& cell : score_cells(summarize(f.scores))) cells.push_back(cell);
        const bool ceiling = !f.shares.empty();
        cells.push_back(ceiling ? percent(summarize(f.shares).mean) : "-");
        cells.push_back(ceiling ? percent(static_cast<double>(f.reached) / f.shares.size()) : "-");
        cells.push_back(fixed(f.games ? 1000 * f.seconds / f.games : 0, 1));
        table.row(cells);
    }
    if (config.ceiling) {
        std::vector<double> ceilings;
        double seconds = 0;
        for (const DealOutcome& deal : deals) {
            ceilings.push_back(deal.ceiling);
            seconds += deal.ceiling_seconds;
        }
        std::vector<std::string> cells = {"plafon (ceilscore)", std::to_string(deals.size()), "0"};
        for (std::string& cell : score_cells(summarize(ceilings))) cells.push_back(cell);
        cells.insert(cells.end(), {"100.0%", "100.0%", fixed(deals.empty() ? 0 : 1000 * seconds / deals.size(), 1)});
        table.row(cells);
    }
    return table.render();
}

std::string pairs_table(const MatchConfig& config, const std::vector<DealOutcome>& deals) {
    Table table({{"A − B", false}, {"împărțiri", true}, {"diferență", true}, {"±IC95", true}, {"A câștigă", true},
                 {"egal", true}, {"B câștigă", true}});
    for (std::size_t a = 0; a < config.players.size(); ++a) {
        for (std::size_t b = a + 1; b < config.players.size(); ++b) {
            std::vector<double> differences;
            int wins = 0, ties = 0, losses = 0;
            for (const DealOutcome& deal : deals) {
                const GameOutcome& x = deal.games[a];
                const GameOutcome& y = deal.games[b];
                if (x.fault != Fault::none || y.fault != Fault::none) continue;
                differences.push_back(x.score - y.score);
                wins += x.score > y.score;
                ties += x.score == y.score;
                losses += x.score < y.score;
            }
            const Summary s = summarize(differences);
            table.row({config.players[a].name + " − " + config.players[b].name, std::to_string(s.n),
                       s.n ? (s.mean > 0 ? "+" : "") + fixed(s.mean, 2) : "-", s.n ? fixed(s.half_width, 2) : "-",
                       std::to_string(wins), std::to_string(ties), std::to_string(losses)});
        }
    }
    return table.render();
}

std::string faults_list(const MatchConfig& config, const std::vector<DealOutcome>& deals) {
    std::string text;
    for (std::size_t p = 0; p < config.players.size(); ++p) {
        const PlayerFigures f = figures_of(deals, p);
        if (f.faults.empty()) continue;
        text += "  " + config.players[p].name + ":";
        const char* separator = " ";
        for (const auto& [name, count] : f.faults) {
            text += separator + std::to_string(count) + " × " + name;
            separator = ", ";
        }
        for (std::size_t d = 0; d < deals.size(); ++d) {
            if (deals[d].games[p].fault == Fault::none) continue;
            text += "\n    prima, la împărțirea " + std::to_string(d + 1) + ": " + deals[d].games[p].message;
            break;
        }
        text += "\n";
    }
    return text;
}

std::string xml_escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string csv_field(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::size_t display_width(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string match_table(const MatchConfig& config, const std::vector<DealOutcome>& deals) {
    std::string text = players_table(config, deals);
    if (config.players.size() >= 2) {
        text += "\nDiferența de scor pe împărțire, A − B (numai împărțirile jucate fără greșeli de amândoi):\n";
        text += pairs_table(config, deals);
    }
    const std::string faults = faults_list(config, deals);
    if (!faults.empty()) text += "\nGreșeli:\n" + faults;
    return text;
}

std::string match_csv(const MatchConfig& config, const std::vector<DealOutcome>& deals) {
    std::string text = "deal,deck_seed,player,status,score,category1,category2,category3,category4,ceiling,seconds\n";
    for (std::size_t d = 0; d < deals.size(); ++d) {
        const DealOutcome& deal = deals[d];
        for (std::size_t p = 0; p < config.players.size(); ++p) {
            const GameOutcome& game = deal.games[p];
            const bool ok = game.fault == Fault::none;
            text += std::to_string(d + 1) + "," + std::to_string(deal.seed) + "," + csv_field(config.players[p].name) +
                    "," + fault_name(game.fault) + "," + (ok ? std::to_string(game.score) : "");
            for (int category : game.categories) text += "," + (ok ? std::to_string(category) : "");
            text += "," + (deal.ceiling >= 0 ? std::to_string(deal.ceiling) : "") + "," + fixed(game.seconds, 6) + "\n";
        }
    }
    return text;
}

std::string match_svg(const MatchConfig& config, const std::vector<DealOutcome>& deals) {
    struct Row {
        std::string name;
        std::vector<double> values;
        const char* colour;
    };
    std::vector<Row> rows;
    for (std::size_t p = 0; p < config.players.size(); ++p) {
        std::vector<double> scores = figures_of(deals, p).scores;
        std::sort(scores.begin(), scores.end());
        rows.push_back({config.players[p].name, scores, "#4e79a7"});
    }
    if (config.ceiling) {
        std::vector<double> ceilings;
        for (const DealOutcome& deal : deals) {
            if (deal.ceiling >= 0) ceilings.push_back(deal.ceiling);
        }
        std::sort(ceilings.begin(), ceilings.end());
        rows.push_back({"plafon (ceilscore)", ceilings, "#e15759"});
    }
    double top = 50;
    for (const Row& row : rows) {
        if (!row.values.empty()) top = std::max(top, row.values.back());
    }
    top = 50 * static_cast<int>((top + 49) / 50);

    const int left = 190, plot = 560, row_height = 56, header = 64;
    const int height = header + row_height * static_cast<int>(rows.size()) + 50;
    auto x = [&](double value) { return fixed(left + plot * value / top, 1); };
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(left + plot + 40) + "\" height=\"" + std::to_string(height) +
                      "\" font-family=\"sans-serif\" font-size=\"13\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += "<text x=\"20\" y=\"24\" font-size=\"15\">Scoruri pe " + std::to_string(deals.size()) +
           " de împărțiri (sămânța " + std::to_string(config.seed) + ")</text>\n";
    svg += "<text x=\"20\" y=\"44\" fill=\"#555\">linie: min–max · cutie: quartilele 1–3 · bară: mediana · "
           "punct: media</text>\n";
    const int axis_y = height - 40;
    for (int tick = 0; tick <= top; tick += 50) {
        svg += "<line x1=\"" + x(tick) + "\" y1=\"" + std::to_string(header) + "\" x2=\"" + x(tick) + "\" y2=\"" +
               std::to_string(axis_y) + "\" stroke=\"#ddd\"/>\n";
        svg += "<text x=\"" + x(tick) + "\" y=\"" + std::to_string(axis_y + 18) + "\" text-anchor=\"middle\">" +
               std::to_string(tick) + "</text>\n";
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const int middle = header + row_height * static_cast<int>(r) + row_height / 2;
        const std::string y = std::to_string(middle);
        svg += "<text x=\"" + std::to_string(left - 10) + "\" y=\"" + std::to_string(middle + 4) +
               "\" text-anchor=\"end\">" + xml_escaped(row.name) + "</text>\n";
        if (row.values.empty()) continue;
        const Summary s = summarize(row.values);
        const double q1 = quantile(row.values, 0.25), q3 = quantile(row.values, 0.75);
        const std::string box_top = std::to_string(middle - 14);
        svg += "<line x1=\"" + x(s.min) + "\" y1=\"" + y + "\" x2=\"" + x(s.max) + "\" y2=\"" + y +
               "\" stroke=\"#333\"/>\n";
        svg += "<rect x=\"" + x(q1) + "\" y=\"" + box_top + "\" width=\"" + fixed(plot * (q3 - q1) / top, 1) +
               "\" height=\"28\" fill=\"" + row.colour + "\" fill-opacity=\"0.35\" stroke=\"" + row.colour + "\"/>\n";
        svg += "<line x1=\"" + x(s.median) + "\" y1=\"" + box_top + "\" x2=\"" + x(s.median) + "\" y2=\"" +
               std::to_string(middle + 14) + "\" stroke=\"#000\" stroke-width=\"2\"/>\n";
        svg += "<circle cx=\"" + x(s.mean) + "\" cy=\"" + y + "\" r=\"3.5\" fill=\"#000\"><title>medie " +
               fixed(s.mean, 1) + "</title></circle>\n";
    }
    return svg + "</svg>\n";
}

}  // namespace match
