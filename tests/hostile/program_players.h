// Players and decks for the referee's and match's hostile tables.
#pragma once

#include <string>
#include <vector>

#include "tests/hostile/hostile.h"

namespace hostile {

inline const std::string DECK = ascending_deck();
inline const std::string FAKE = testing_support::helper("fake-player");
inline const std::string SUIT = testing_support::bin("suit-player");
inline const std::vector<std::string> GAME_DAT = {"game.dat"};

// Players for what no fake-player mode does: each reads the first card,
// then answers it with bytes that are no answer, or dies by SIGKILL.
inline const std::string ANSWERS_NUL = "read card\nprintf '\\000\\n'\n";
inline const std::string ANSWERS_ABOVE_127 = "read card\nprintf '\\303\\251\\n'\n";
inline const std::string ENDLESS_LINE = "read card\nexec tr '\\000' 1 </dev/zero\n";
inline const std::string KILLED = "read card\nkill -KILL $$\n";

// Players that take what no player may have, or say so as their first
// answer; else they play 1, 2, 3, 4 in every round.
inline const std::string PLAY_ON = "for r in 1 2 3 4 5; do for c in 1 2 3 4; do read card; echo $c; done; done\n";
inline const std::string MEMORY_HOG =
    "if head -c 1500m /dev/zero | tail -n 1 >/dev/null 2>&1; then echo 'took 1.5 GB'; exit 0; fi\n" + PLAY_ON;
inline const std::string DISK_FILLER =
    "if head -c 100m /dev/zero >big 2>/dev/null; then echo 'wrote 100 MB'; exit 0; fi\n" + PLAY_ON;
// Fair players, which must keep working: one in Python, one that reads the
// order of its columns from a file it is given.
inline const std::string PYTHON_PLAYER =
    "#!/usr/bin/python3\nimport sys\nfor card in range(20):\n    sys.stdin.readline()\n"
    "    print(card % 4 + 1, flush=True)\n";
inline const std::string READS_ITS_ORDER = "order=$(cat \"$1\")\nfor r in 1 2 3 4 5; do for c in $order; do read card; "
                                    "echo $c; done; done\n";


}  // namespace hostile
