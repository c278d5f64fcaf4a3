// What the tests of a match's HTML report share: a small match with its
// outputs, the data its page embeds, and pieces of a page's text.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/support.h"

namespace report_page {

// A match of three players, its CSV, JSON and report. "inimi+1" faults on
// the deals whose first card is a heart (not the first deal, nor the one its
// page opens on); its name holds a '+', which an address must keep as it is.
struct Report {
    static constexpr int DEALS = 20;  // more rows than the deal table shows at once
    testing_support::TempDir dir;
    testing_support::RunResult result;
    Report();
    std::string html() const { return testing_support::read_file(dir.file("m.html")); }
    std::vector<std::vector<std::string>> csv() const;
    nlohmann::json summary() const;  // the JSON's
};

nlohmann::json embedded_data(const std::string& html);

// What stands between each `open` and the `close` after it, in order.
std::vector<std::string> between(const std::string& text, const std::string& open, const std::string& close);

}  // namespace report_page
