// The options that set the players' sandbox, the same for the referee and
// for match: the mode, what a player may read besides its command, and its
// limits.
#pragma once

#include <functional>
#include <string>

#include "common/sandbox.h"

namespace referee {

// Their lines of the usage.
extern const char* const SANDBOX_USAGE;

enum class OptionTaken { no, yes, bad_value };

// Takes `option` when it is one of the sandbox's, its value read through
// `value`; a bad value is `bad_value`, with `error` saying why.
OptionTaken take_sandbox_option(const std::string& option, const std::function<std::string()>& value,
                                proc::SandboxSettings& settings, std::string& error);

}  // namespace referee
