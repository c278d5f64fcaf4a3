#include "tests/hostile/match_csv_cases.h"

#include <deque>

namespace hostile {

namespace {

const std::string HEADER =
    "deal,deck_seed,player,status,score,category1,category2,category3,category4,ceiling,seconds,ceiling_seconds,"
    "match_seed,deals,shard,answers,ceiling_answers,message,command,timeout_ms\n";
// Deal 1 of a real match of 4 deals, seed 15, and its first row alone.
const std::string SUIT_ROW = "1,786828495711234,suit-player,ok,5,2,1,1,1,52,0.005259,0.000644,15,4,1/1,"
                             "12343124142312341234,12342413431232411324,,/usr/local/bin/suit-player,10000\n";
const std::string DEAL_1 = SUIT_ROW +
                           "1,786828495711234,tally-player,ok,47,5,5,2,3,52,0.006815,0.000644,15,4,1/1,"
                           "12342134213413241432,12342413431232411324,,/usr/local/bin/tally-player,10000\n";
// A row of shard 2 of 3 of another match (seed 7, 9 deals).
const std::string ROW_OF_ANOTHER_MATCH =
    "2,6432391252047282,suit-player,ok,9,2,3,1,1,75,0.001574,0.000953,7,9,2/3,12341243134212341234,"
    "12342134124313244231,,/usr/local/bin/suit-player,10000\n";

// The first row with `part` in place of `original`.
std::string first_row_with(const std::string& original, const std::string& part) {
    std::string row = SUIT_ROW;
    row.replace(row.find(original), original.size(), part);
    return row;
}

struct BadFile {
    const char* name;
    Text content;
    std::string error;  // after "m.csv, "
};

std::vector<BadFile> bad_files() {
    const std::string MATCH = ",15,4,1/1,";
    const std::string NAME_REFUSED =
        "valoare invalidă pentru coloana player (1..200 octeți de text UTF-8 tipăribil, fără „/”): ";
    return {
        {"deals_beyond_an_int", HEADER + first_row_with(MATCH, ",15,2147483647,1/1,"),
         "rândul 2: valoare invalidă pentru coloana deals (1..1000000): 2147483647"},
        {"deals_negative", HEADER + first_row_with(MATCH, ",15,-4,1/1,"),
         "rândul 2: valoare invalidă pentru coloana deals (1..1000000): -4"},
        {"deals_zero", HEADER + first_row_with(MATCH, ",15,0,1/1,"),
         "rândul 2: valoare invalidă pentru coloana deals (1..1000000): 0"},
        {"shard_count_zero", HEADER + first_row_with(MATCH, ",15,4,1/0,"),
         "rândul 2: valoare invalidă pentru coloana shard (K/N, cu 1 ≤ K ≤ N): 1/0"},
        {"shard_beyond_its_count", HEADER + first_row_with(MATCH, ",15,4,5/4,"),
         "rândul 2: valoare invalidă pentru coloana shard (K/N, cu 1 ≤ K ≤ N): 5/4"},
        {"deal_beyond_the_match", HEADER + first_row_with("1,7868", "9,7868"),
         "rândul 2: valoare invalidă pentru coloana deal (1..4): 9"},
        {"deal_of_another_shard", HEADER + first_row_with(MATCH, ",15,4,2/2,"),
         "rândul 2: valoare invalidă pentru coloana deal: împărțirea 1 nu este a părții 2/2"},
        {"score_the_answers_do_not_make", HEADER + first_row_with(",ok,5,", ",ok,6,"),
         "rândul 2: valoare invalidă pentru coloana score: răspunsurile fac 5, nu 6"},
        {"line_of_10_megabytes", Text(HEADER + DEAL_1 + "2,", 'x', 10 * MEGABYTE, "\n"),
         "rândul 4: mai lung de 1048576 de octeți"},
        {"name_not_utf8", HEADER + first_row_with("suit-player,ok", "suit\xff,ok"),
         "rândul 2: " + NAME_REFUSED + "suit\\xff"},
        // A resumed match names its records after its players.
        {"name_out_of_the_records_folder", HEADER + first_row_with("suit-player,ok", "../suit,ok"),
         "rândul 2: " + NAME_REFUSED + "../suit"},
        {"nul_byte", HEADER + DEAL_1 + first_row_with("suit-player,ok", std::string("suit\0player,ok", 14)),
         "rândul 4: valoare invalidă pentru coloana player: un octet de control (\\x00)"},
        {"quoted_field_holding_a_newline", HEADER + first_row_with("suit-player,ok", "\"suit\nplayer\",ok"),
         "rândul 2: coloana player: ghilimelele deschise nu se închid pe rândul lor"},
        {"rows_of_another_match_spliced_in", HEADER + DEAL_1 + ROW_OF_ANOTHER_MATCH,
         "rândul 4: alt meci decât cel al primului rând (coloana match_seed)"},
        {"header_alone", HEADER, "rândul 2: lipsește: fără niciun rând, fișierul nu spune ce meci este"},
        {"empty", "", "rândul 1: nu este antetul unui CSV scris de match"},
    };
}

}  // namespace

std::vector<Case> match_csv_cases() {
    static std::deque<std::string> names;  // the cases point to them
    std::vector<Case> cases;
    for (const BadFile& bad : bad_files()) {
        const Expected refused = {.exit_code = 2, .error = "match: m.csv, " + bad.error + "\n", .whole_error = true};
        for (const std::string way : {"merge", "resume"}) {
            names.push_back(way + "_of_" + bad.name);
            const std::vector<std::string> args =
                way == "merge" ? std::vector<std::string>{"--merge", "--csv", "all.csv", "--json", "all.json", "m.csv"}
                               : std::vector<std::string>{"--resume", "m.csv", "--json", "all.json"};
            cases.push_back({.name = names.back().c_str(), .setup = {file("m.csv", bad.content)}, .args = args,
                             .expect = refused});
        }
    }
    return cases;
}

}  // namespace hostile
