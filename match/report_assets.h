// The match report's page, as the files in match/report/ hold it: written
// into every report so that it needs nothing else, no network and no file
// beside it. The build embeds the files (report/embed.cmake); nothing is
// looked up when the program runs.
#pragma once

#include <string_view>

namespace match {

extern const std::string_view REPORT_HTML;  // the skeleton, with {{name}} where a part goes
extern const std::string_view REPORT_CSS;
extern const std::string_view REPORT_JS;

}  // namespace match
