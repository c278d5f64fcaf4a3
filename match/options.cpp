#include "match/options.h"

#include <algorithm>
#include <charconv>
#include <thread>

#include "match/settings.h"
#include "referee/sandbox_options.h"

namespace match {

namespace {

constexpr const char* PROGRAM = "match";

constexpr const char* SYNOPSIS =
    "Utilizare: match [--deals N] [--seed S] [--shard K/N] [--jobs J]\n"
    "                 [--timeout-ms T] [--no-ceiling] [--keep-going]\n"
    "                 [--max-faults K] [--decide [--alpha A] [--margin M]]\n"
    "                 [--csv FIȘIER] [--json FIȘIER] [--svg FIȘIER]\n"
    "                 [--html FIȘIER] [--records DIR] [--quiet] [IZOLARE]\n"
    "                 [JUCĂTOR ...]\n"
    "       match --resume FIȘIER [--jobs J] [--json FIȘIER] [--svg FIȘIER]\n"
    "                 [--html FIȘIER] [--records DIR] [--quiet] [IZOLARE]\n"
    "       match --merge [--allow-missing] [--csv FIȘIER] [--json FIȘIER]\n"
    "                 [--svg FIȘIER] [--html FIȘIER] [--quiet] CSV ...\n";

constexpr const char* EPILOGUE =
    "FIȘIER „-” este ieșirea standard.\n"
    "Un JUCĂTOR este o COMANDĂ sau NUME=COMANDĂ; comanda poate avea argumente, ca\n"
    "un singur cuvânt al shell-ului despărțit la spații (fără shell):\n"
    "  match \"lacom=bin/ev-player\" \"prudent=./jucator --risc 2\"\n"
    "Fără jucători: toți jucătorii construiți lângă match.\n"
    "Fără --seed, sămânța meciului este una nouă: o sămânță dată pe linia de comandă\n"
    "este publică, iar un jucător ar putea juca dinainte împărțirile ei.\n";

// The options of a match played: a merge plays nothing, and takes its match from its CSVs.
struct MatchOptions {
    CLI::Option *deals, *seed, *shard, *timeout, *alpha, *margin;
    std::vector<CLI::Option*> all;  // these among them
};

// A share strictly between 0 and 1, or points of at least 0: --alpha and --margin.
game::Status take_real(const std::string& option, const std::string& text, double low, double high, bool low_open,
                       double& target) {
    double value = 0;
    const auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool inside = (low_open ? value > low : value >= low) && value < high;
    if (failed != std::errc() || end != text.data() + text.size() || text.empty() || !inside) {
        return game::failure("valoare invalidă pentru " + option + ": " + text);
    }
    target = value;
    return {};
}

// The option's value read by its setting's one definition (settings.h), kept in `target`.
template <typename Value>
CLI::Option* setting(cli::CommandLine& line, const std::string& name, Value& target,
                     game::Result<Value> (*read)(const std::string&, const std::string&), const std::string& value,
                     const std::string& help) {
    return line.custom(name, value, help, [&target, name, read](const std::string& text) -> game::Status {
        game::Result<Value> read_value = read(name, text);
        if (!read_value) return game::failure(read_value.error());
        target = *read_value;
        return {};
    });
}

MatchConfig::Decide& decide_of(Options& o) {
    // Assigned, not emplaced: clang does not take a nested struct with member initializers for
    // default-constructible (a known defect of clang's).
    if (!o.config.decide) o.config.decide = MatchConfig::Decide{};
    return *o.config.decide;
}

MatchOptions declare_play(cli::CommandLine& line, Options& o) {
    MatchConfig& c = o.config;
    MatchOptions m{};
    m.deals = setting(line, "--deals", c.deals, deals_in, "N",
                      "câte împărțiri (implicit 200); fiecare jucător le joacă\npe toate");
    m.seed = setting(line, "--seed", c.seed, seed_in, "S",
                     "sămânța meciului, zecimal sau 0x hex (implicit: una\nnouă, afișată)");
    m.shard = setting(line, "--shard", c.shard, shard_in, "K/N",
                      "joacă doar partea K din N: împărțirile i cu i mod N = K - 1");
    m.timeout = setting(line, "--timeout-ms", c.timeout_ms, timeout_in, "T",
                        "cât se așteaptă fiecare răspuns (implicit 10000)");
    m.all = {
        m.deals,
        m.seed,
        m.shard,
        m.timeout,
        line.number("--jobs", c.jobs, 1, 256, "J", "jocuri în paralel (implicit: numărul de nuclee)"),
        line.flag("--no-ceiling", o.no_ceiling, "fără plafon (cel mai bun scor al fiecărei împărțiri)"),
        line.flag("--keep-going", o.keep_going,
                  "continuă și când un jucător greșește la prima împărțire\n"
                  "(altfel meciul se oprește îndată, cu cauza)"),
        line.number("--max-faults", c.max_faults, 0, 1'000'000, "K",
                    "un jucător cu K greșeli la rând nu mai joacă (implicit\n20; 0: niciodată oprit)"),
        line.flag("--decide", o.decide,
                  "se oprește când fiecare pereche de jucători e hotărâtă,\n"
                  "cu o eroare de cel mult A oricând s-ar opri (--deals\n"
                  "devine limita, implicit 10000)"),
        m.alpha = line.custom("--alpha", "A", "la --decide, rata de decizii greșite (implicit 0.05)",
                              [&o](const std::string& text) {
                                  return take_real("--alpha", text, 0, 1, true, decide_of(o).alpha);
                              }),
        m.margin = line.custom("--margin", "M",
                               "la --decide, o pereche e și hotărâtă egală când\n"
                               "diferența stă între −M și M puncte",
                               [&o](const std::string& text) {
                                   return take_real("--margin", text, 0, 400, false, decide_of(o).margin);
                               }),
        line.text("--resume", o.resume_path, "FIȘIER",
                  "continuă meciul oprit al cărui CSV este FIȘIER, cu jucătorii\n"
                  "și setările din el: joacă doar împărțirile care lipsesc"),
        line.text("--records", c.records_dir, "DIR", "păstrează înregistrarea fiecărui joc (pentru record-view)"),
    };
    return m;
}

void declare_outputs(cli::CommandLine& line, Options& o) {
    line.text("--csv", o.csv_path, "FIȘIER", "un rând pe joc, scris pe măsură ce se termină împărțirile");
    line.text("--json", o.json_path, "FIȘIER", "tot rezumatul: setări, statistici, diferențe, greșeli");
    line.text("--svg", o.svg_path, "FIȘIER", "distribuția scorurilor fiecărui jucător lângă plafon");
    line.text("--html", o.html_path, "FIȘIER",
              "raportul de privit într-un browser: clasamentul,\n"
              "distribuțiile și tablele fiecărei împărțiri lângă cea a\n"
              "plafonului");
    line.flag("--quiet", o.quiet, "doar erorile și ce s-a cerut pe ieșirea standard: fără\n"
                                  "progres, tabele și note");
}

void declare_merge(cli::CommandLine& line, Options& o) {
    line.flag("--merge", o.merge,
              "nu joacă nimic: unește CSV-urile unui meci (părțile lui) și\n"
              "arată ce ar fi arătat meciul întreg");
    line.flag("--allow-missing", o.allow_missing, "la --merge, arată și când lipsesc împărțiri");
}

// Options that cannot go together. Empty, or the usage error.
std::string conflict(const cli::CommandLine& line, const MatchOptions& m, const Options& o) {
    if (!o.csv_path.empty() && !o.resume_path.empty()) return "--resume FIȘIER scrie chiar în FIȘIER: fără --csv";
    for (const CLI::Option* decision : {m.alpha, m.margin}) {
        if (!o.decide && line.given(decision)) return cli::CommandLine::name_of(decision) + " merge doar cu --decide";
    }
    if (o.decide && line.given(m.shard)) {
        return "--decide hotărăște pe împărțirile în ordine, de la prima: nu merge cu --shard";
    }
    if (!o.merge) return o.allow_missing ? "--allow-missing merge doar cu --merge" : "";
    for (const CLI::Option* played : m.all) {
        if (line.given(played)) return "--merge ia meciul din CSV-uri și nu joacă nimic: fără " + cli::CommandLine::name_of(played);
    }
    return o.operands.empty() ? "--merge are nevoie de cel puțin un CSV" : "";
}

}  // namespace

int usage_error(const std::string& message) { return cli::CommandLine(PROGRAM, "").usage_error(message); }

std::variant<Options, int> parse_options(int argc, char** argv) {
    Options options;
    options.config.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    cli::CommandLine line(PROGRAM, SYNOPSIS, EPILOGUE);
    MatchOptions played = declare_play(line, options);
    declare_outputs(line, options);
    declare_merge(line, options);
    const auto sandbox = referee::declare_sandbox_options(line, options.sandbox);
    played.all.insert(played.all.end(), sandbox.begin(), sandbox.end());
    line.operands(options.operands);
    if (const cli::Parsed parsed = line.parse(argc, argv); !parsed.run) return parsed.status;
    if (const std::string problem = conflict(line, played, options); !problem.empty()) {
        return line.usage_error(problem);
    }
    options.has_seed = line.given(played.seed);
    options.has_deals = line.given(played.deals);
    options.has_shard = line.given(played.shard);
    options.has_timeout = line.given(played.timeout);
    if (options.decide) {
        decide_of(options);
        if (!options.has_deals) options.config.deals = 10'000;
    } else {
        options.config.decide.reset();
    }
    if (options.no_ceiling) options.config.ceiling = false;
    return options;
}

}  // namespace match
