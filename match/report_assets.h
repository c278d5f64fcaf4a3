// The style sheet and the script of the match report, written into every
// report so that it needs nothing else: no network, no file beside it.
#pragma once

namespace match {

extern const char* const REPORT_STYLE;
extern const char* const REPORT_SCRIPT;

}  // namespace match
