#include "tools/play/options.h"

#include <cstdint>

#include "referee/cli.h"
#include "referee/sandbox_options.h"

namespace play {

namespace {

constexpr const char* PROGRAM = "play";
constexpr const char* SYNOPSIS =
    "Utilizare: play [--seed N | --daily] [--plain] [--record FIȘIER]\n"
    "                [--timeout-ms N] [IZOLARE]\n"
    "Jucați voi o împărțire în terminal: fiecare carte într-o coloană, o carte pe\n"
    "coloană în fiecare rundă. La sfârșit: cea mai bună așezare a aceleiași\n"
    "împărțiri și scorurile tuturor jucătorilor suitei pe ea.\n";
constexpr const char* EPILOGUE =
    "Tastele: 1-4, sau săgețile și Enter, așază cartea; u anulează ultima carte a\n"
    "rundei; q iese (după o întrebare); la sfârșit, n împarte un joc nou.\n"
    "Cu --plain, o comandă pe rând la intrarea standard: 1-4, u, t (tabla), q.\n"
    "O sămânță împarte același pachet ca referee --seed; --daily ia sămânța din\n"
    "data de azi (UTC), AAAALLZZ, aceeași pentru toți în acea zi.\n";

struct Given {
    std::uint64_t seed = 0;
    bool daily = false;
    CLI::Option *seed_option = nullptr, *record = nullptr;
};

void declare(cli::CommandLine& line, Options& o, Given& g) {
    g.seed_option =
        line.number("--seed", g.seed, 0, UINT64_MAX, "N",
                    "împarte pachetul amestecat cu sămânța N, zecimal sau 0x\nhex (implicit: una nouă la fiecare joc)",
                    "sămânță invalidă");
    line.flag("--daily", g.daily, "împărțirea zilei: aceeași pentru toți azi");
    line.flag("--plain", o.plain, "joacă pe rânduri de text, pentru cititoare de ecran,\nconducte și teste");
    g.record = line.text("--record", o.record_path, "FIȘIER", "scrie înregistrarea fiecărui joc încheiat");
    line.number("--timeout-ms", o.timeout_ms, 1, 3'600'000, "N",
                "cât se așteaptă fiecare răspuns al unui jucător (implicit\n2000)", "durată invalidă (1..3600000 ms)");
    referee::declare_sandbox_options(line, o.sandbox);
}

}  // namespace

std::variant<Options, int> parse_options(int argc, char** argv) {
    Options options;
    Given given;
    cli::CommandLine line(PROGRAM, SYNOPSIS, EPILOGUE);
    declare(line, options, given);
    std::vector<std::string> operands;
    line.operands(operands);
    if (const cli::Parsed parsed = line.parse(argc, argv); !parsed.run) return parsed.status;
    if (!operands.empty()) return line.usage_error("argument în plus: " + operands.front());
    if (given.daily && line.given(given.seed_option)) return line.usage_error("--seed și --daily nu merg împreună");
    if (line.given(given.record) && options.record_path.empty()) {
        return line.usage_error("--record are nevoie de un nume de fișier");
    }
    if (given.daily) options.deal = todays_deal();
    if (line.given(given.seed_option)) options.deal = DealChoice{given.seed, ""};
    return options;
}

}  // namespace play
