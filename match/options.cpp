#include "match/options.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "referee/cli.h"
#include "referee/sandbox_options.h"

namespace match {

namespace {

constexpr const char* USAGE =
    "Utilizare: match [--deals N] [--seed S] [--shard K/N] [--jobs J] [--timeout-ms T]\n"
    "                 [--no-ceiling] [--csv FIȘIER | --resume FIȘIER] [--json FIȘIER]\n"
    "                 [--svg FIȘIER] [--html FIȘIER] [--records DIR] [--quiet] [IZOLARE]\n"
    "                 [JUCĂTOR ...]\n"
    "       match --merge [--allow-missing] [--csv FIȘIER] [--json FIȘIER] [--svg FIȘIER]\n"
    "                 [--html FIȘIER] CSV ...\n"
    "  --deals N         câte împărțiri (implicit 200); fiecare jucător le joacă pe toate\n"
    "  --seed S          sămânța meciului (implicit: una nouă, afișată)\n"
    "  --shard K/N       joacă doar partea K din N: împărțirile i cu i mod N = K - 1\n"
    "  --jobs J          jocuri în paralel (implicit: numărul de nuclee)\n"
    "  --timeout-ms T    cât se așteaptă fiecare răspuns (implicit 10000)\n"
    "  --no-ceiling      fără plafon (cel mai bun scor al fiecărei împărțiri)\n"
    "  --csv FIȘIER      un rând pe joc, scris pe măsură ce se termină împărțirile\n"
    "  --resume FIȘIER   continuă meciul oprit al cărui CSV este FIȘIER: joacă doar\n"
    "                    împărțirile care lipsesc din el\n"
    "  --json FIȘIER     tot rezumatul: setări, statistici, diferențe, greșeli\n"
    "  --svg FIȘIER      distribuția scorurilor fiecărui jucător lângă plafon\n"
    "  --html FIȘIER     raportul de privit într-un browser: clasamentul, distribuțiile și\n"
    "                    tablele fiecărei împărțiri lângă cea a plafonului\n"
    "  --records DIR     păstrează înregistrarea fiecărui joc (pentru record-view)\n"
    "  --quiet           fără linia de progres\n"
    "  --merge           nu joacă nimic: unește CSV-urile unui meci (părțile lui) și\n"
    "                    arată ce ar fi arătat meciul întreg\n"
    "  --allow-missing   la --merge, arată și când lipsesc împărțiri\n"
    "Un JUCĂTOR este o COMANDĂ sau NUME=COMANDĂ; comanda poate avea argumente, ca\n"
    "un singur cuvânt al shell-ului despărțit la spații (fără shell):\n"
    "  match \"lacom=bin/ev-player\" \"prudent=./jucator --risc 2\"\n"
    "Fără jucători: cei cinci construiți lângă match.\n"
    "Fără --seed, sămânța meciului este una nouă: o sămânță dată pe linia de comandă\n"
    "este publică, iar un jucător ar putea juca dinainte împărțirile ei.\n";

std::uint64_t number(const std::string& option, const std::string& text, std::uint64_t min, std::uint64_t max) {
    std::uint64_t value = 0;
    if (!referee::parse_number(text, min, max, value)) {
        usage_error("valoare invalidă pentru " + option + " (" + std::to_string(min) + ".." + std::to_string(max) +
                    "): " + text);
    }
    return value;
}

Shard shard_of(const std::string& text) {
    const std::size_t slash = text.find('/');
    std::uint64_t index = 0, count = 0;
    if (slash == std::string::npos || !referee::parse_number(text.substr(0, slash), 1, 1'000'000, index) ||
        !referee::parse_number(text.substr(slash + 1), 1, 1'000'000, count) || index > count) {
        usage_error("valoare invalidă pentru --shard (K/N, cu 1 ≤ K ≤ N): " + text);
    }
    return Shard{static_cast<int>(index), static_cast<int>(count)};
}

// --merge takes its match from the CSVs: the options of a match played are no part of it.
void check_merge(const Options& o) {
    if (!o.merge) {
        if (o.allow_missing) usage_error("--allow-missing merge doar cu --merge");
        return;
    }
    if (o.has_seed || o.has_deals || o.has_shard || o.has_no_ceiling || !o.resume_path.empty() ||
        !o.config.records_dir.empty() || o.has_sandbox_option) {
        usage_error("--merge ia meciul din CSV-uri: fără --seed, --deals, --shard, --no-ceiling, --resume, --records, "
                    "izolare");
    }
    if (o.operands.empty()) usage_error("--merge are nevoie de cel puțin un CSV");
}

}  // namespace

void usage_error(const std::string& message) {
    std::fprintf(stderr, "match: %s\n%s%s", message.c_str(), USAGE, referee::SANDBOX_USAGE);
    std::exit(2);
}

Options parse_options(int argc, char** argv) {
    Options options;
    MatchConfig& config = options.config;
    config.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usage_error("lipsește valoarea pentru " + arg);
            return argv[++i];
        };
        std::string bad;
        if (arg == "--help" || arg == "-h") {
            std::fputs(USAGE, stdout);
            std::fputs(referee::SANDBOX_USAGE, stdout);
            std::exit(std::fflush(stdout) == 0 ? 0 : 1);
        } else if (const auto taken = referee::take_sandbox_option(arg, value, options.sandbox, bad);
                   taken != referee::OptionTaken::no) {
            if (taken == referee::OptionTaken::bad_value) usage_error(bad);
            options.has_sandbox_option = true;
        } else if (arg == "--deals") {
            config.deals = static_cast<int>(number(arg, value(), 1, 1'000'000));
            options.has_deals = true;
        } else if (arg == "--seed") {
            config.seed = number(arg, value(), 0, UINT64_MAX);
            options.has_seed = true;
        } else if (arg == "--shard") {
            config.shard = shard_of(value());
            options.has_shard = true;
        } else if (arg == "--jobs") {
            config.jobs = static_cast<int>(number(arg, value(), 1, 256));
        } else if (arg == "--timeout-ms") {
            config.timeout_ms = static_cast<int>(number(arg, value(), 1, 3'600'000));
        } else if (arg == "--no-ceiling") {
            config.ceiling = false;
            options.has_no_ceiling = true;
        } else if (arg == "--csv") {
            options.csv_path = value();
        } else if (arg == "--resume") {
            options.resume_path = value();
        } else if (arg == "--json") {
            options.json_path = value();
        } else if (arg == "--svg") {
            options.svg_path = value();
        } else if (arg == "--html") {
            options.html_path = value();
        } else if (arg == "--records") {
            config.records_dir = value();
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--merge") {
            options.merge = true;
        } else if (arg == "--allow-missing") {
            options.allow_missing = true;
        } else if (arg.starts_with("-")) {
            usage_error("opțiune necunoscută: " + arg);
        } else {
            options.operands.push_back(arg);
        }
    }
    if (!options.csv_path.empty() && !options.resume_path.empty()) {
        usage_error("--resume FIȘIER scrie chiar în FIȘIER: fără --csv");
    }
    check_merge(options);
    return options;
}

}  // namespace match
