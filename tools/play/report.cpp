#include "tools/play/report.h"

#include <algorithm>

#include "match/wording.h"

namespace play {

namespace {

constexpr match::Noun POINTS_NOUN = {"punct", "puncte"};

// "Coloana 1: 9♣ 10♦ J♣ Q♥ K♣ — ful (20 de puncte)", a column of a board.
std::vector<std::string> board_lines(const game::GameRecord& record) {
    const auto columns = game::columns_of(record.cards);
    std::vector<std::string> lines;
    for (int c = 0; c < game::COLUMNS; ++c) {
        std::string line = "  Coloana " + std::to_string(c + 1) + ":";
        for (const game::Card& card : columns[c]) line += " " + card_text(card);
        line += std::string(" — ") + game::CATEGORY_NAMES_RO[record.categories[c]] + " (" +
                points_text(record.points[c]) + ")";
        lines.push_back(line);
    }
    return lines;
}

std::string rival_text(const Rival& rival) {
    return rival.scored ? points_text(rival.score) : "greșeală (" + rival.problem + ")";
}

}  // namespace

std::string points_text(int points) { return match::count_of(points, POINTS_NOUN); }

std::string card_text(game::Card card) {
    return std::string(game::RANK_NAMES[card.rank]) + game::SUIT_ICONS[card.suit];
}

std::string columns_text(const std::vector<int>& columns) {
    std::string text;
    for (int c : columns) text += (text.empty() ? "" : ", ") + std::to_string(c + 1);
    return text;
}

int share_of_ceiling(int total, int ceiling) { return ceiling <= 0 ? 100 : total * 100 / ceiling; }

int place_of(const EndReport& report) {
    return 1 + static_cast<int>(std::count_if(report.rivals.begin(), report.rivals.end(), [&](const Rival& rival) {
               return rival.scored && rival.score > report.mine.total;
           }));
}

int scored_count(const EndReport& report) {
    return 1 + static_cast<int>(std::count_if(report.rivals.begin(), report.rivals.end(),
                                              [](const Rival& rival) { return rival.scored; }));
}

std::vector<std::string> report_lines(const EndReport& report) {
    std::vector<std::string> lines = {"Jocul s-a încheiat, " + deal_title(report.deal) + ".",
                                      "Scor total: " + std::to_string(report.mine.total)};
    for (const std::string& line : board_lines(report.mine)) lines.push_back(line);
    lines.push_back("Plafonul, cea mai bună așezare a aceleiași împărțiri: " + points_text(report.ceiling.total));
    for (const std::string& line : board_lines(report.ceiling)) lines.push_back(line);
    lines.push_back(
        "Ați atins " + std::to_string(share_of_ceiling(report.mine.total, report.ceiling.total)) + "% din plafon.");
    lines.push_back("Jucătorii pe aceeași împărțire:");
    for (const Rival& rival : report.rivals) lines.push_back("  " + rival.name + ": " + rival_text(rival));
    lines.push_back(
        "Locul vostru: " + std::to_string(place_of(report)) + " din " + std::to_string(scored_count(report)) + ".");
    lines.push_back("Se reia cu: " + replay_command(report.deal) + " (același pachet ca referee --seed " +
                    std::to_string(report.deal.seed) + ")");
    if (!report.record_problem.empty()) lines.push_back("Înregistrarea nu a fost scrisă: " + report.record_problem);
    return lines;
}

}  // namespace play
