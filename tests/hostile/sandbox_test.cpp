// The players' sandbox beyond what one run's files show: no connection
// leaves a game, and where the kernel lacks a mechanism the runners play
// with what there is and say what is missing, or refuse when told to
// require it all.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <csignal>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "common/process.h"
#include "tests/hostile/hostile.h"

namespace {

using testing_support::bin;
using testing_support::helper;
using testing_support::run;
using testing_support::RunResult;
using testing_support::TempDir;

const std::string FAKE = helper("fake-player");

// A listener on 127.0.0.1, one on an abstract Unix socket and one on a
// named one, none of which ever accepts, and a named datagram socket: a
// connection that reached one waits in its queue, a datagram in its socket.
class Listeners {
public:
    Listeners()
        : tcp_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)), unix_(::socket(AF_UNIX, SOCK_STREAM, 0)),
          named_(::socket(AF_UNIX, SOCK_STREAM, 0)), datagram_(::socket(AF_UNIX, SOCK_DGRAM, 0)) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof local;
        EXPECT_EQ(::bind(tcp_, reinterpret_cast<sockaddr*>(&local), size), 0);
        EXPECT_EQ(::getsockname(tcp_, reinterpret_cast<sockaddr*>(&local), &size), 0);
        port_ = std::to_string(ntohs(local.sin_port));
        name_ = "columns-test-" + std::to_string(::getpid());
        sockaddr_un abstract{};
        abstract.sun_family = AF_UNIX;
        name_.copy(abstract.sun_path + 1, name_.size());
        EXPECT_EQ(::bind(unix_, reinterpret_cast<sockaddr*>(&abstract),
                         static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name_.size())),
                  0);
        EXPECT_EQ(::listen(tcp_, 8), 0);
        EXPECT_EQ(::listen(unix_, 8), 0);
        bind_named(named_, stream_path());
        bind_named(datagram_, datagram_path());
        EXPECT_EQ(::listen(named_, 8), 0);
    }
    ~Listeners() {
        for (int fd : {tcp_, unix_, named_, datagram_}) ::close(fd);
    }
    Listeners(const Listeners&) = delete;
    Listeners& operator=(const Listeners&) = delete;

    const std::string& port() const { return port_; }
    const std::string& name() const { return name_; }
    std::string stream_path() const { return folder_.file("daemon.sock"); }
    std::string datagram_path() const { return folder_.file("log.sock"); }
    bool reached() const {
        pollfd waiting[] = {{tcp_, POLLIN, 0}, {unix_, POLLIN, 0}, {named_, POLLIN, 0}, {datagram_, POLLIN, 0}};
        return ::poll(waiting, 4, 0) > 0;
    }

private:
    static void bind_named(int fd, const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
    }

    TempDir folder_;
    int tcp_, unix_, named_, datagram_;
    std::string port_, name_;
};

TEST(Sandbox, NoConnectionNorDatagramLeavesAGame) {
    if (const std::string missing = hostile::sandbox_missing(); !missing.empty()) GTEST_SKIP() << missing;
    const Listeners listeners;
    const TempDir dir;
    for (const auto& attack : {std::vector<std::string>{"tcp", listeners.port()},
                               {"abstract", listeners.name()},
                               {"named", "=" + listeners.stream_path()},
                               {"datagram", "=" + listeners.datagram_path()}}) {
        const RunResult r = run({bin("referee"), "--seed", "1", FAKE, "cheat", attack[0], attack[1]}, "", dir.path());
        EXPECT_EQ(r.exit_code, 0) << r.err;
    }
    const RunResult r = run({bin("match"), "--deals", "2", "--seed", "1", "--no-ceiling", "--quiet",
                             "tcp=" + FAKE + " cheat tcp " + listeners.port(),
                             "unix=" + FAKE + " cheat abstract " + listeners.name()},
                            "", dir.path());
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    EXPECT_FALSE(listeners.reached()) << "a player connected";
}

// What the sandbox enforces here, as a match's JSON names it.
const std::vector<std::string>& enforced_here() {
    static const std::vector<std::string> enforced = [] {
        const TempDir dir;
        const RunResult r = run({bin("match"), "--deals", "1", "--no-ceiling", "--quiet", "--json", "m.json", FAKE},
                                "", dir.path());
        EXPECT_EQ(r.exit_code, 0) << r.err;
        const auto json = nlohmann::json::parse(testing_support::read_file(dir.file("m.json")), nullptr, false);
        return json.is_discarded() ? std::vector<std::string>{}
                                   : json["settings"]["sandbox"]["enforced"].get<std::vector<std::string>>();
    }();
    return enforced;
}

// Three processes of 60 MB at once: each within its address space, the
// game not. All of them fed is a leak, its answer. The kernel may stall
// seconds before it kills a hog, hence the long wait for the first card.
const std::string MANY_HOGS =
    "for i in 1 2 3; do (head -c 60m /dev/zero | tail -n 1 >/dev/null 2>&1; echo $? >fed.$i) & done\n"
    "wait\nif [ \"$(cat fed.* | tr -d '\\n')\" = 000 ]; then echo 'took 180 MB'; exit 0; fi\n"
    "for r in 1 2 3 4 5; do for c in 1 2 3 4; do read card; echo $c; done; done\n";

TEST(Sandbox, AGameIsHeldToItsMemoryAsAWhole) {
    const auto& enforced = enforced_here();
    if (std::find(enforced.begin(), enforced.end(), "memory-cgroup") == enforced.end()) {
        GTEST_SKIP() << "no memory cgroup can be made here (as root, or in a delegated subtree)";
    }
    const TempDir dir;
    testing_support::write_file(dir.file("hogs.sh"), "#!/bin/sh\n" + MANY_HOGS);
    std::filesystem::permissions(dir.file("hogs.sh"), std::filesystem::perms::owner_all);
    const RunResult r = run(
        {bin("referee"), "--seed", "1", "--player-memory", "100", "--timeout-ms", "60000", "./hogs.sh"}, "", dir.path());
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_NE(r.out.find("Scor total: "), std::string::npos) << r.out;
}

// The cgroups of a run, named after its pid, wherever their controllers are.
std::vector<std::string> cgroups_of(pid_t pid) {
    std::vector<std::string> found;
    const std::string prefix = "columns-" + std::to_string(pid) + "-";
    std::error_code failed;
    for (auto it = std::filesystem::recursive_directory_iterator("/sys/fs/cgroup", failed);
         !failed && it != std::filesystem::recursive_directory_iterator(); it.increment(failed)) {
        if (it.depth() > 2) it.disable_recursion_pending();
        if (it->path().filename().string().rfind(prefix, 0) == 0) found.push_back(it->path().string());
    }
    return found;
}

TEST(Sandbox, TheCgroupsOfAKilledRunGoWithTheNextRun) {
    // Its cells, orphaned, are ours to reap, as an init would: unreaped,
    // they would hold their cgroups.
    testing_support::adopt_orphans();
    const TempDir dir;
    proc::Process killed;
    std::string error;
    ASSERT_EQ(killed.start({bin("match"), "--deals", "1000", "--seed", "1", "--jobs", "1", "--quiet"},
                           proc::SpawnOptions{dir.path(), true}, error),
              proc::Started::yes)
        << error;
    const pid_t pid = killed.pid();
    const proc::Deadline made(10000);
    while (cgroups_of(pid).empty() && made.remaining_ms() > 0) ::usleep(5000);
    if (cgroups_of(pid).empty()) GTEST_SKIP() << "no cgroup can be made here";
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    killed.stop();
    // Its cells die with it, and are reaped: their cgroups are then empty.
    EXPECT_EQ(testing_support::leftovers_after(5000), std::vector<std::string>{});
    EXPECT_EQ(run({bin("referee"), "--seed", "1", FAKE}, "", dir.path()).exit_code, 0);
    EXPECT_EQ(cgroups_of(pid), std::vector<std::string>{});
}

// As nobody, where no user namespace can be made: mapping nobody takes root.
class WithoutUserNamespaces : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "only root can make the user namespace that forbids others";
        testing_support::hand_to_ordinary_user({dir.path(), tmp.path()});
    }
    RunResult run_as_nobody(std::vector<std::string> argv) {
        argv.insert(argv.begin(), helper("no-user-namespaces"));
        return run(hostile::with_tmpdir(tmp, argv), "", dir.path());
    }
    TempDir dir, tmp;
};

TEST_F(WithoutUserNamespaces, AutoPlaysWithWhatThereIsAndSaysWhatIsMissing) {
    const RunResult game = run_as_nobody({bin("referee"), "--seed", "1", FAKE});
    EXPECT_EQ(game.exit_code, 0) << game.err;
    EXPECT_NE(game.err.find("referee: izolarea jucătorului: parțială; lipsesc: procesele jocului despărțite de ale "
                            "noastre"),
              std::string::npos)
        << game.err;
    const RunResult match =
        run_as_nobody({bin("match"), "--deals", "2", "--seed", "1", "--quiet", "--json", "m.json", "suit-player"});
    EXPECT_EQ(match.exit_code, 0) << match.err;
    const auto sandbox = nlohmann::json::parse(testing_support::read_file(dir.file("m.json")))["settings"]["sandbox"];
    EXPECT_EQ(sandbox["mode"], "auto");
    const auto missing = sandbox["missing"].get<std::vector<std::string>>();
    EXPECT_NE(std::find(missing.begin(), missing.end(), "pid-namespace"), missing.end()) << sandbox;
    // What needs no namespace stays: the file rules and the filter.
    const auto enforced = sandbox["enforced"].get<std::vector<std::string>>();
    EXPECT_NE(std::find(enforced.begin(), enforced.end(), "seccomp"), enforced.end()) << sandbox;
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
}

TEST_F(WithoutUserNamespaces, RequireRefusesToStart) {
    for (const std::string program : {"referee", "match"}) {
        const RunResult r = run_as_nobody({bin(program), "--sandbox", "require", "--seed", "1", FAKE});
        EXPECT_EQ(r.exit_code, 2) << r.err;
        EXPECT_NE(r.err.find(program + ": izolarea cerută (--sandbox require) nu este posibilă aici; lipsesc: "),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(testing_support::entries_of(dir.path()), std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
}

}  // namespace
