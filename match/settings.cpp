#include "match/settings.h"

#include "referee/cli.h"
#include "referee/error_excerpt.h"

namespace match {

namespace {

game::Result<int> int_in(const std::string& option, const std::string& text, int max) {
    const auto number = cli::number_in(option, text, 1, static_cast<std::uint64_t>(max));
    if (!number) return game::failure(number.error());
    return static_cast<int>(*number);
}

bool printable_without_slash(const std::string& name) {
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = referee::shown_length(std::string_view(name).substr(i));
        if (length == 0 || name[i] == '/') return false;
        i += length;
    }
    return true;
}

}  // namespace

game::Result<int> deals_in(const std::string& option, const std::string& text) {
    return int_in(option, text, MAX_DEALS);
}

game::Result<Shard> shard_in(const std::string& option, const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash != std::string::npos) {
        const auto index = cli::number_in(option, text.substr(0, slash), 1, MAX_DEALS);
        const auto count = cli::number_in(option, text.substr(slash + 1), 1, MAX_DEALS);
        if (index && count && *index <= *count) return Shard{static_cast<int>(*index), static_cast<int>(*count)};
    }
    return game::failure("valoare invalidă pentru " + option + " (K/N, cu 1 ≤ K ≤ N): " + cli::shown_value(text));
}

game::Result<std::uint64_t> seed_in(const std::string& option, const std::string& text) {
    return cli::number_in(option, text, 0, UINT64_MAX);
}

game::Result<int> timeout_in(const std::string& option, const std::string& text) {
    return int_in(option, text, MAX_TIMEOUT_MS);
}

game::Status player_name_in(const std::string& option, const std::string& name) {
    if (name == CEILING_LABEL) return game::failure("numele „" + name + "” este al plafonului");
    if (name.empty() || name.size() > MAX_NAME_BYTES || !printable_without_slash(name)) {
        return game::failure("valoare invalidă pentru " + option + " (1.." + std::to_string(MAX_NAME_BYTES) +
                             " octeți de text UTF-8 tipăribil, fără „/”): " + cli::shown_value(name));
    }
    return {};
}

game::Status player_count_in(std::size_t count) {
    if (count <= MAX_PLAYERS) return {};
    return game::failure("un meci are cel mult " + std::to_string(MAX_PLAYERS) + " de jucători, nu " +
                         std::to_string(count));
}

}  // namespace match
