#include "referee/answer.h"

namespace referee {

namespace {
bool is_column_digit(char c) { return c >= '1' && c <= '4'; }
}  // namespace

Answer judge_answer(std::string_view received) {
    if (received.empty() || (received.size() == 1 && is_column_digit(received[0]))) return {};
    if (is_column_digit(received[0]) && received[1] == '\n') {
        return {Verdict::column, received[0] - '1', 2};
    }
    const std::size_t line_end = received.find('\n');
    return {Verdict::bad, -1, line_end == std::string_view::npos ? received.size() : line_end};
}

}  // namespace referee
