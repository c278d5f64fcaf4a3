// The referee's reading of a player's answers fed from arbitrary bytes, as
// the pipe might deliver them: the input is a series of chunks, each a
// length byte and up to that many bytes of the player's output. Card by
// card the chunks are appended to what has been received until the answer
// can be judged, as the referee does.
#include <algorithm>
#include <string>

#include "referee/answer.h"
#include "common/cards.h"
#include "common/int_scanner.h"
#include "fuzz/support.h"

namespace {

using referee::Answer;
using referee::Verdict;

constexpr std::size_t SHOWN = 32;  // bytes of a bad answer that a message quotes

// Cuts the next chunk off the input; empty when the input is used up.
std::string_view next_chunk(std::string_view& input) {
    if (input.empty()) return {};
    const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(input[0]) % 8 + 1, input.size() - 1);
    const std::string_view chunk = input.substr(1, length);
    input.remove_prefix(1 + length);
    return chunk;
}

void check_verdict(const Answer& answer, std::string_view received) {
    switch (answer.verdict) {
        case Verdict::incomplete:
            fuzz::require(received.size() < 2, "two bytes always decide");
            fuzz::require(received.empty() || (received[0] >= '1' && received[0] <= '4'),
                          "only a column digit waits for more");
            break;
        case Verdict::column:
            fuzz::require(answer.column >= 0 && answer.column < game::COLUMNS, "a column is 0..3");
            fuzz::require(answer.consumed == 2 && answer.consumed <= received.size(), "an answer is two bytes");
            fuzz::require(received[0] == '1' + answer.column && received[1] == '\n',
                          "an answer is the digit and a line feed");
            break;
        case Verdict::bad: {
            fuzz::require(answer.consumed <= received.size(), "the line shown was received");
            fuzz::require(received.substr(0, answer.consumed).find('\n') == std::string_view::npos,
                          "the line shown is one line");
            const std::string shown = game::printable(received.substr(0, answer.consumed), SHOWN);
            fuzz::require(fuzz::is_one_clean_line(shown) && shown.size() <= 4 * SHOWN + 3,
                          "a bad answer is shown cleanly");
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = fuzz::bytes_of(data, size);
    std::string received;
    for (int card = 0; card < game::DEALT; ++card) {
        Answer answer = referee::judge_answer(received);
        while (answer.verdict == Verdict::incomplete && !input.empty()) {
            received += next_chunk(input);
            answer = referee::judge_answer(received);
        }
        check_verdict(answer, received);
        // Whatever arrives later cannot change a verdict already reached.
        const Answer later = referee::judge_answer(received + std::string(input));
        if (answer.verdict != Verdict::incomplete) {
            fuzz::require(later.verdict == answer.verdict && later.column == answer.column,
                          "later bytes do not change a verdict");
        }
        if (answer.verdict != Verdict::column) break;
        received.erase(0, answer.consumed);
    }
    return 0;
}
