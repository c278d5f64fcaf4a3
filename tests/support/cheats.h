// What a hostile player tries against whoever runs it, each attack as a
// player author would write it. An attack returns what it learned or did
// that a player must not be able to, or "" when it was kept from it; the
// fake player then answers with that text (a fault naming the leak) or
// plays on as if nothing happened.
#pragma once

#include <string>

namespace cheats {

// KIND, with DETAIL where it needs one:
//   cmdline           our runner's command line (its --seed), through /proc
//   memory            our runner's memory, through /proc/PID/mem or process_vm_readv
//   rig               our runner's memory opened for writing, to reorder the deck
//   stderr            the seed line a runner wrote to a standard error we share
//   file NAME         a file of the user beside our runner, and descriptors we inherited
//   plant NAME        the user's NAME overwritten through a link in our folder, or files
//                     written outside our folder (the record, the next game's folder)
//   kill MARK         every process whose first argument is MARK, killed, through /proc
//   signal            our runner, and the init we see, sent SIGTERM and SIGKILL
//   read =PATH        PATH read (an output of the runner's, a record being written); the
//                     '=' keeps a runner from taking it for a path the player was given
//   tcp PORT          a connection to 127.0.0.1:PORT
//   abstract NAME     a connection to the abstract Unix socket NAME
//   named =PATH       a connection to the Unix socket PATH (a daemon's, say)
//   datagram =PATH    a datagram sent to the Unix socket PATH (as to /dev/log)
//   escape            a sleeper that leaves our session and process group, left behind
//   spin              a CPU spinner left behind the same way
//   fork-bomb         processes until none can be had; then we never answer
std::string attempt(const std::string& kind, const std::string& detail);

}  // namespace cheats
