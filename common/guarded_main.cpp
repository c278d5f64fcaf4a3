#include "common/guarded_main.h"

#include <cstdio>
#include <exception>

namespace game {

int guarded_main(const char* program, int (*body)(int, char**), int argc, char** argv) {
    try {
        return body(argc, argv);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: eroare internă: %s\n", program, failure.what());
    } catch (...) {
        std::fprintf(stderr, "%s: eroare internă neprevăzută\n", program);
    }
    return 2;
}

}  // namespace game
