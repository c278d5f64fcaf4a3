#include "match/settings.h"

#include "referee/cli.h"

namespace match {

game::Result<int> deals_in(const std::string& option, const std::string& text) {
    const auto deals = cli::number_in(option, text, 1, MAX_DEALS);
    if (!deals) return game::failure(deals.error());
    return static_cast<int>(*deals);
}

game::Result<Shard> shard_in(const std::string& option, const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash != std::string::npos) {
        const auto index = cli::number_in(option, text.substr(0, slash), 1, MAX_DEALS);
        const auto count = cli::number_in(option, text.substr(slash + 1), 1, MAX_DEALS);
        if (index && count && *index <= *count) return Shard{static_cast<int>(*index), static_cast<int>(*count)};
    }
    return game::failure("valoare invalidă pentru " + option + " (K/N, cu 1 ≤ K ≤ N): " + text);
}

}  // namespace match
