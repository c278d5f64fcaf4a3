// Replays a fuzz target's corpus without libFuzzer: every file of the given
// folders (and every file given itself) goes through the target once, in
// name order. The seeds and every reproducer ever found live there, so a
// finding that comes back fails the test build.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/support.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputs(int argc, char** argv) {
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (!fs::is_directory(argv[i])) {
            files.emplace_back(argv[i]);
            continue;
        }
        for (const auto& entry : fs::directory_iterator(argv[i])) {
            if (entry.is_regular_file()) files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<fs::path> files = inputs(argc, argv);
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "%s: cannot be read\n", file.c_str());
            return 1;
        }
        std::printf("%s\n", file.filename().c_str());
        std::fflush(stdout);  // the input that fails is the last one named
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs replayed\n", files.size());
    // An empty corpus would pass without testing anything.
    return files.empty() ? 1 : 0;
}
