#include "tests/match/report_page.h"

#include <gtest/gtest.h>

namespace report_page {

using testing_support::helper;

Report::Report() {
    result = testing_support::run({testing_support::bin("match"), "--deals", std::to_string(DEALS), "--seed", "2026",
                                   "--quiet", "--csv", "m.csv", "--json", "m.json", "--html", "m.html", "suit-player",
                                   "inimi+1=" + helper("fake-player") + " heart-faults", "tally-player"},
                                  "", dir.path());
}

std::vector<std::vector<std::string>> Report::csv() const {
    return testing_support::csv_rows(testing_support::read_file(dir.file("m.csv")));
}

nlohmann::json Report::summary() const {
    return nlohmann::json::parse(testing_support::read_file(dir.file("m.json")));
}

nlohmann::json embedded_data(const std::string& html) {
    const std::string open = "<script type=\"application/json\" id=\"match-data\">";
    const std::size_t start = html.find(open);
    EXPECT_NE(start, std::string::npos);
    const std::size_t end = html.find("</script>", start);
    return nlohmann::json::parse(html.substr(start + open.size(), end - start - open.size()));
}

std::vector<std::string> between(const std::string& text, const std::string& open, const std::string& close) {
    std::vector<std::string> found;
    for (std::size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
        const std::size_t start = at + open.size();
        const std::size_t end = text.find(close, start);
        if (end == std::string::npos) break;
        found.push_back(text.substr(start, end - start));
        at = end + close.size();
    }
    return found;
}

}  // namespace report_page
