#include "match/outputs.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "common/files.h"
#include "match/csv.h"
#include "match/html.h"
#include "match/json.h"
#include "match/replay.h"
#include "match/svg.h"
#include "match/tables.h"
#include "match/wording.h"

namespace match {

namespace {

// Told on standard error: what is lost makes the run fail, not stop.
bool lost(const std::string& message) {
    std::fprintf(stderr, "match: %s\n", message.c_str());
    return false;
}

// Written after the tables, through the stream they went to.
game::Status to_standard_output(const std::string& content) {
    std::fwrite(content.data(), 1, content.size(), stdout);
    return game::flush_standard_output();
}

bool write_output(const std::string& path, const std::string& content) {
    if (path.empty()) return true;
    if (is_standard_output(path)) {
        const game::Status written = to_standard_output(content);
        return written || lost(written.error());
    }
    const game::Status written = game::replace_file(path, content);
    return written || lost(written.error());
}

}  // namespace

bool is_standard_output(const std::string& path) {
    if (path == "-") return true;
    struct stat ours {}, named {};
    return ::fstat(STDOUT_FILENO, &ours) == 0 && ::stat(path.c_str(), &named) == 0 && ours.st_dev == named.st_dev &&
           ours.st_ino == named.st_ino;
}

std::vector<std::string> files_asked_for(const Options& options) {
    std::vector<std::string> files;
    for (const std::string& path :
         {options.csv_path, options.resume_path, options.json_path, options.svg_path, options.html_path}) {
        if (!path.empty() && !is_standard_output(path)) files.push_back(path);
    }
    return files;
}

game::Status check_outputs(const Options& options) {
    for (const std::string& path : files_asked_for(options)) {
        if (game::Status writable = game::check_writable(path); !writable) return writable;
    }
    const std::string& records = options.config.records_dir;
    return records.empty() ? game::Status{} : game::prepare_folder(records);
}

void print_tables(const Options& options, const MatchConfig& config, const MatchSummary& summary,
                  std::optional<double> seconds) {
    // The players are left out of the command only where the defaults were played.
    const bool defaults = options.operands.empty() && options.resume_path.empty() && !options.merge;
    std::string text = match_heading(config, !defaults) + "\n" + match_tables(summary);
    if (seconds) {
        text += "\nTimp: " + fixed(*seconds, 1) + " s, " + fixed(*seconds > 0 ? summary.deals / *seconds : 0, 1) +
                " împărțiri pe secundă\n";
    }
    std::fputs(text.c_str(), stdout);
}

bool show_results(const Options& options, const MatchConfig& config, const std::vector<DealOutcome>& deals,
                  std::optional<double> seconds, const CsvWriter& csv) {
    const MatchSummary summary = summarize_match(config, deals);
    if (!options.quiet) print_tables(options, config, summary, seconds);
    const game::Status flushed = game::flush_standard_output();
    bool kept = flushed || lost(flushed.error());
    const std::string csv_path = options.resume_path.empty() ? options.csv_path : options.resume_path;
    if (is_standard_output(csv_path)) {
        kept = write_output(csv_path, match_csv(config, deals)) && kept;
    } else if (const game::Status written = csv(match_csv(config, deals)); !written) {
        kept = lost(written.error());
    }
    kept = write_output(options.json_path, match_json(config, summary)) && kept;
    kept = write_output(options.svg_path, match_svg(summary, config.seed)) && kept;
    return (options.html_path.empty() || write_output(options.html_path, match_html(config, summary, deals))) && kept;
}

}  // namespace match
