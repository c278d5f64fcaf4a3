#include "match/wording.h"

namespace match {

std::string count_of(long long n, Noun noun) {
    const std::string number = std::to_string(n);
    if (n == 1) return number + " " + noun.one;
    const long long last_two = n % 100;
    const bool with_de = n >= 20 && (last_two == 0 || last_two >= 20);
    return number + (with_de ? " de " : " ") + noun.many;
}

}  // namespace match
