#include "match/svg.h"

#include <algorithm>

#include "match/tables.h"
#include "match/wording.h"

namespace match {

std::string markup_escaped(const std::string& text) {
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

std::string match_svg(const MatchSummary& summary, std::uint64_t seed) {
    struct Row {
        const Standing* standing;
        const char* colour;
    };
    std::vector<Row> rows;
    for (const Standing& s : summary.players) rows.push_back({&s, "#4e79a7"});
    if (summary.ceiling) rows.push_back({&*summary.ceiling, "#e15759"});
    double top = 50;
    for (const Row& row : rows) {
        if (!row.standing->sorted_scores.empty()) top = std::max(top, row.standing->sorted_scores.back());
    }
    top = 50 * static_cast<int>((top + 49) / 50);

    const int left = 190, plot = 560, row_height = 56, header = 64;
    const int height = header + row_height * static_cast<int>(rows.size()) + 50;
    auto x = [&](double value) { return fixed(left + plot * value / top, 1); };
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(left + plot + 40) + "\" height=\"" + std::to_string(height) +
                      "\" font-family=\"sans-serif\" font-size=\"13\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += "<text x=\"20\" y=\"24\" font-size=\"15\">Scoruri pe " + count_of(summary.deals, DEALS_NOUN) +
           " (sămânța " + std::to_string(seed) + ")</text>\n";
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
               "\" text-anchor=\"end\">" + markup_escaped(row.standing->name) + "</text>\n";
        const std::vector<double>& scores = row.standing->sorted_scores;
        if (scores.empty()) continue;
        const Summary& s = row.standing->scores;
        const double q1 = quantile(scores, 0.25), q3 = quantile(scores, 0.75);
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
