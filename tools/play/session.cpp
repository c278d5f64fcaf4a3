#include "tools/play/session.h"

#include "common/record.h"
#include "tools/ceilscore/search.h"

namespace play {

DealChoice next_deal(Session& session) {
    const bool first = session.games_begun++ == 0;
    return first && session.options.deal ? *session.options.deal : fresh_deal();
}

game::Result<EndReport> end_of(const Game& g, const DealChoice& deal, Session& session) {
    EndReport report;
    report.deal = deal;
    report.mine = record_of(g);
    game::Result<std::vector<Rival>> rivals = session.rivals.play(g.deck);
    if (!rivals) return game::failure(rivals.error());
    report.rivals = std::move(*rivals);
    report.ceiling = ceilscore::best_record(g.deck);
    // Written once the players are done: none of them can have read it.
    if (!session.options.record_path.empty()) {
        const game::Status written = game::write_record(session.options.record_path, report.mine);
        if (!written) report.record_problem = written.error();
        session.record_failed = session.record_failed || !written;
    }
    return report;
}

int leaving_status(const Session& session) { return session.record_failed ? 2 : 0; }

}  // namespace play
