// Landlock, the kernel's file, TCP and scope rules for a process and its
// descendants: a player may read the system's directories and what it was
// given, write only its scratch folder, open no TCP connection, and signal
// or reach by abstract socket nothing outside its game.
//
// The rules are built in the child between fork and exec, where only
// system calls may be made: everything here that runs there allocates
// nothing and reports failure through its result alone.
#pragma once

#include <cstdint>

namespace proc::landlock {

// The version of the kernel's Landlock interface; 0 where it has none.
int abi_version();

// How far a path is opened to the player.
enum class Reach : std::uint8_t {
    read,        // read, list and execute, beneath it when it is a folder
    read_write,  // a device such as /dev/null: read and write
    own,         // everything, beneath it: the scratch folder
};

struct PathRule {
    const char* path = nullptr;
    Reach reach = Reach::read;
};

// Restricts the calling thread (and what it executes) to `rules`, with TCP
// and the scopes closed as far as `abi` knows them. A path that does not
// exist is skipped. Needs no_new_privs. 0, or the errno of the step that failed.
int restrict_self(int abi, const PathRule* rules, int count);

}  // namespace proc::landlock
