// The lines of --plain's input. A wait for one is cut into short ones, so
// that an interrupt is seen while no line comes, however it falls.
#pragma once

#include <string>

namespace play {

class LineReader {
public:
    explicit LineReader(int fd) : fd_(fd) {}

    // The next line, without its line end and the blanks around it, and of
    // a long line its first bytes only (the rest is read and dropped); false
    // at the end of the input, on a failed read, or once an interrupt came.
    bool next(std::string& line);

private:
    bool fill();

    int fd_;
    std::string pending_;  // read, not yet handed out
};

}  // namespace play
