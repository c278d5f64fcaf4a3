#include "match/wording.h"

namespace match {

std::string count_of(long long n, Noun noun) {
    const std::string number = std::to_string(n);
    if (n == 1) return number + " " + noun.one;
    const long long last_two = n % 100;
    const bool with_de = n >= 20 && (last_two == 0 || last_two >= 20);
    return number + (with_de ? " de " : " ") + noun.many;
}

std::string part_of(long long part, long long whole, Noun noun) {
    return (part == whole ? "" : std::to_string(part) + " din ") + count_of(whole, noun);
}

}  // namespace match
