// The CSV of a match being played. It is made at the start with what is
// known already (the header, and the rows of a resumed file), then each
// deal's rows are appended once all its games are done, so that a match
// stopped at any moment, even by SIGKILL, keeps every finished deal and
// can be resumed. At the end it is written again, sorted, through the safe
// writer. A device or FIFO is written only at the end.
#pragma once

#include <string>

#include "common/result.h"

namespace match {

class CsvLog {
public:
    CsvLog() = default;
    ~CsvLog();
    CsvLog(const CsvLog&) = delete;
    CsvLog& operator=(const CsvLog&) = delete;

    // Nothing is kept for an empty path.
    [[nodiscard]] game::Status start(const std::string& path, const std::string& content);
    void append(const std::string& rows);
    // Writes the whole CSV.
    [[nodiscard]] game::Status finish(const std::string& content);

private:
    std::string path_;
    int fd_ = -1;  // appended to while the match runs
};

}  // namespace match
