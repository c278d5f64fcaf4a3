#include "match/replay.h"

#include <filesystem>
#include <sstream>

#include "common/shell_words.h"
#include "referee/sandbox_options.h"

namespace match {

namespace {

// One shell word, as the match's command line takes a player.
std::string player_word(const Player& player) {
    std::string command;
    for (const std::string& word : player.command) command += (command.empty() ? "" : " ") + word;
    const bool named_by_program =
        !player.command.empty() && std::filesystem::path(player.command[0]).filename() == player.name;
    return game::shell_quoted({named_by_program ? command : player.name + "=" + command});
}

// --decide and its settings, which no CSV keeps.
std::vector<std::string> decide_words(const MatchConfig& config) {
    if (!config.decide) return {};
    std::vector<std::string> words = {"--decide"};
    const auto number = [](double value) {
        std::ostringstream text;
        text << value;
        return text.str();
    };
    if (config.decide->alpha != MatchConfig::Decide{}.alpha) {
        words.insert(words.end(), {"--alpha", number(config.decide->alpha)});
    }
    if (config.decide->margin > 0) words.insert(words.end(), {"--margin", number(config.decide->margin)});
    return words;
}

}  // namespace

std::string match_command(const MatchConfig& config, bool with_players) {
    const MatchConfig defaults;
    std::string command = "match --seed " + std::to_string(config.seed) + " --deals " + std::to_string(config.deals);
    if (config.shard.count > 1) command += " --shard " + config.shard.text();
    if (!config.ceiling) command += " --no-ceiling";
    if (config.timeout_ms != defaults.timeout_ms) command += " --timeout-ms " + std::to_string(config.timeout_ms);
    if (config.max_faults != defaults.max_faults) command += " --max-faults " + std::to_string(config.max_faults);
    for (const std::string& word : decide_words(config)) command += " " + word;
    if (!with_players) return command;
    for (const Player& player : config.players) command += " " + player_word(player);
    return command;
}

std::string match_heading(const MatchConfig& config, bool with_players) {
    return "Sămânța meciului: " + std::to_string(config.seed) + "\nSe reia cu: " + match_command(config, with_players) +
           "\n";
}

std::string resume_command(const Options& options, const std::string& csv_path) {
    std::vector<std::string> words = {"match", "--resume", csv_path};
    const std::pair<const char*, const std::string&> outputs[] = {{"--json", options.json_path},
                                                                  {"--svg", options.svg_path},
                                                                  {"--html", options.html_path},
                                                                  {"--records", options.config.records_dir}};
    for (const auto& [option, path] : outputs) {
        if (!path.empty()) words.insert(words.end(), {option, path});
    }
    if (options.keep_going) words.push_back("--keep-going");
    const std::vector<std::string> decide = decide_words(options.config);
    words.insert(words.end(), decide.begin(), decide.end());
    if (options.config.max_faults != MatchConfig{}.max_faults) {
        words.insert(words.end(), {"--max-faults", std::to_string(options.config.max_faults)});
    }
    if (options.quiet) words.push_back("--quiet");
    const std::vector<std::string> sandbox = referee::sandbox_arguments(options.sandbox);
    words.insert(words.end(), sandbox.begin(), sandbox.end());
    return game::shell_quoted(words);
}

}  // namespace match
