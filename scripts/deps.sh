#!/bin/sh
# Makes sure the packages a job needs are installed: installs them with
# apt-get when run as root, otherwise names the command and stops.
#   scripts/deps.sh build | test | bench | fuzz | format
# build: the compiler, CMake, the JSON library that match writes with,
# libseccomp, whose filter the players run under, CLI11, which parses the
# command lines of the referee, match and play, ncurses, which draws play,
# and help2man, which makes the manual pages from the programs' help;
# test: that, GoogleTest, GNU parallel, man and tmux (play's terminal test),
# and Chromium when it can be had;
# bench: that and Google Benchmark; fuzz: that and clang with libFuzzer;
# format: that and clang-format.
set -eu
missing=""
need_file() {  # need_file FILE PACKAGE
    [ -e "$1" ] || missing="$missing $2"
}
need_command() {  # need_command COMMAND PACKAGE
    command -v "$1" >/dev/null 2>&1 || missing="$missing $2"
}
need_command cmake cmake
need_command g++ g++
need_command make make
need_file /usr/include/nlohmann/json.hpp nlohmann-json3-dev
need_file /usr/include/seccomp.h libseccomp-dev
need_file /usr/include/CLI/CLI.hpp libcli11-dev
need_file /usr/include/ncursesw/curses.h libncurses-dev
need_command help2man help2man  # the manual pages are made from the programs' help
case "${1:-build}" in
    build) ;;
    test)
        need_file /usr/include/gtest/gtest.h libgtest-dev
        need_command parallel parallel  # the shards of a match run through it
        need_command man man-db         # the installed manual pages are rendered
        need_command tmux tmux          # play runs in it as in a terminal
        ;;
    bench)
        need_file /usr/include/benchmark/benchmark.h libbenchmark-dev
        ;;
    fuzz)
        need_command clang++ clang
        ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
            missing="$missing libclang-rt-dev"
        ;;
    format)
        need_command clang-format clang-format
        ;;
    *)
        echo "deps.sh: build, test, bench, fuzz or format, not $1" >&2
        exit 2
        ;;
esac
# Wanted, not needed: the browser test skips, saying so, where Chromium cannot be installed.
optional=""
if [ "${1:-build}" = test ] && ! command -v chromium >/dev/null 2>&1; then optional=chromium; fi
if [ -n "$optional" ] && [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
    echo "Installing: $optional"
    { apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y $optional; } >/dev/null 2>&1 ||
        echo "deps.sh: $optional could not be installed; the browser test will skip" >&2
fi
[ -z "$missing" ] && exit 0

if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
    echo "Installing:$missing"
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y $missing
else
    echo "Missing packages:$missing" >&2
    echo "Install them with:  sudo apt-get install -y$missing" >&2
    exit 1
fi
