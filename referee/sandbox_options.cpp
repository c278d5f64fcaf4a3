#include "referee/sandbox_options.h"

#include <cstdint>
#include <filesystem>

#include "referee/cli.h"

namespace referee {

// The defaults of the release build; the sanitizer build leaves the memory
// of its own sanitized players unbounded.
const char* const SANDBOX_USAGE =
    "Izolarea jucătorului (0 la o limită: fără limită):\n"
    "  --sandbox MOD         auto (implicit: cât permite sistemul, spunând ce\n"
    "                        lipsește), require (refuză fără izolare deplină), off\n"
    "  --player-read CALE    jucătorul poate citi și CALE (se poate repeta)\n"
    "  --player-memory MIB   memoria fiecărui proces al lui (implicit 1024)\n"
    "  --player-cpu S        timpul de procesor al fiecărui proces (implicit 600)\n"
    "  --player-files N      fișiere deschise de fiecare proces (implicit 256)\n"
    "  --player-disk MIB     directorul lui de lucru și orice fișier (implicit 64)\n"
    "  --player-processes N  procese în același timp (implicit 64)\n";

namespace {

struct LimitOption {
    const char* name;
    std::uint64_t proc::PlayerLimits::*field;
    std::uint64_t max;
};

constexpr LimitOption LIMITS[] = {
    {"--player-memory", &proc::PlayerLimits::memory_mib, 1 << 30},
    {"--player-cpu", &proc::PlayerLimits::cpu_seconds, 1'000'000},
    {"--player-files", &proc::PlayerLimits::open_files, 1 << 20},
    {"--player-disk", &proc::PlayerLimits::disk_mib, 1 << 30},
    {"--player-processes", &proc::PlayerLimits::processes, 1 << 22},
};

OptionTaken bad(std::string& error, const std::string& message) {
    error = message;
    return OptionTaken::bad_value;
}

OptionTaken take_mode(const std::string& text, proc::SandboxSettings& settings, std::string& error) {
    if (text == "auto") settings.mode = proc::SandboxMode::automatic;
    else if (text == "require") settings.mode = proc::SandboxMode::require;
    else if (text == "off") settings.mode = proc::SandboxMode::off;
    else return bad(error, "valoare invalidă pentru --sandbox (auto, require sau off): " + text);
    return OptionTaken::yes;
}

OptionTaken take_readable(const std::string& text, proc::SandboxSettings& settings, std::string& error) {
    std::error_code failed;
    if (text.empty() || !std::filesystem::exists(text, failed)) return bad(error, "--player-read: nu există: " + text);
    settings.readable.push_back(std::filesystem::absolute(text, failed).lexically_normal().string());
    return OptionTaken::yes;
}

}  // namespace

OptionTaken take_sandbox_option(const std::string& option, const std::function<std::string()>& value,
                                proc::SandboxSettings& settings, std::string& error) {
    if (option == "--sandbox") return take_mode(value(), settings, error);
    if (option == "--player-read") return take_readable(value(), settings, error);
    for (const LimitOption& limit : LIMITS) {
        if (option != limit.name) continue;
        const std::string text = value();
        std::uint64_t number = 0;
        if (!parse_number(text, 0, limit.max, number)) {
            return bad(error, "valoare invalidă pentru " + option + " (0.." + std::to_string(limit.max) + "): " + text);
        }
        settings.limits.*limit.field = number;
        return OptionTaken::yes;
    }
    return OptionTaken::no;
}

}  // namespace referee
