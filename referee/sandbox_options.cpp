#include "referee/sandbox_options.h"

#include <cstdint>
#include <filesystem>

namespace referee {

namespace {

struct LimitOption {
    const char* name;
    const char* value;
    std::uint64_t proc::PlayerLimits::*field;
    std::uint64_t max;
    const char* help;  // the default is the release build's; the sanitizer build leaves memory unbounded
};

constexpr LimitOption LIMITS[] = {
    {"--player-memory", "MIB", &proc::PlayerLimits::memory_mib, 1 << 30,
     "memoria fiecărui proces al lui (implicit 1024)"},
    {"--player-cpu", "S", &proc::PlayerLimits::cpu_seconds, 1'000'000,
     "timpul de procesor al fiecărui proces (implicit 600)"},
    {"--player-files", "N", &proc::PlayerLimits::open_files, 1 << 20,
     "fișiere deschise de fiecare proces (implicit 256)"},
    {"--player-disk", "MIB", &proc::PlayerLimits::disk_mib, 1 << 30,
     "directorul lui de lucru și orice fișier (implicit 64)"},
    {"--player-processes", "N", &proc::PlayerLimits::processes, 1 << 22, "procese în același timp (implicit 64)"},
};

game::Status take_mode(const std::string& text, proc::SandboxSettings& settings) {
    if (text == "auto") settings.mode = proc::SandboxMode::automatic;
    else if (text == "require") settings.mode = proc::SandboxMode::require;
    else if (text == "off") settings.mode = proc::SandboxMode::off;
    else return game::failure("valoare invalidă pentru --sandbox (auto, require sau off): " + text);
    return {};
}

game::Status take_readable(const std::string& text, proc::SandboxSettings& settings) {
    std::error_code failed;
    if (text.empty() || !std::filesystem::exists(text, failed)) return game::failure("--player-read: nu există: " + text);
    settings.readable.push_back(std::filesystem::absolute(text, failed).lexically_normal().string());
    return {};
}

}  // namespace

std::vector<CLI::Option*> declare_sandbox_options(cli::CommandLine& line, proc::SandboxSettings& settings) {
    line.heading("Izolarea jucătorului (0 la o limită: fără limită):");
    std::vector<CLI::Option*> declared = {
        line.custom("--sandbox", "MOD",
                    "auto (implicit: cât permite sistemul, spunând ce\n"
                    "lipsește), require (refuză fără izolare deplină), off",
                    [&settings](const std::string& text) { return take_mode(text, settings); }),
        line.custom("--player-read", "CALE", "jucătorul poate citi și CALE (se poate repeta)",
                    [&settings](const std::string& text) { return take_readable(text, settings); }),
    };
    // Repeated, each path counts.
    cli::CommandLine::repeatable(declared.back());
    for (const LimitOption& limit : LIMITS) {
        declared.push_back(
            line.number(limit.name, settings.limits.*limit.field, 0, limit.max, limit.value, limit.help));
    }
    line.heading("");
    return declared;
}

std::vector<std::string> sandbox_arguments(const proc::SandboxSettings& settings) {
    const proc::SandboxSettings defaults;
    std::vector<std::string> arguments;
    if (settings.mode != defaults.mode) arguments.insert(arguments.end(), {"--sandbox", proc::mode_name(settings.mode)});
    for (const std::string& path : settings.readable) arguments.insert(arguments.end(), {"--player-read", path});
    for (const LimitOption& limit : LIMITS) {
        const std::uint64_t value = settings.limits.*limit.field;
        if (value != defaults.limits.*limit.field) arguments.insert(arguments.end(), {limit.name, std::to_string(value)});
    }
    return arguments;
}

}  // namespace referee
