// Every program's last line of defence: whatever escapes its body (an
// allocation that failed, a library's exception) becomes one line on
// standard error and exit status 2, never an abort.
#pragma once

namespace game {

int guarded_main(const char* program, int (*body)(int, char**), int argc, char** argv);

}  // namespace game
