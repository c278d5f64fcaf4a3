#!/bin/sh
# Makes sure the packages that the tests and benchmarks need are installed
# (and, with the argument "fuzz", clang and libFuzzer): installs them with
# apt-get when run as root, otherwise names the command.
set -eu
missing=""
need() {  # need FILE PACKAGE
    [ -e "$1" ] || missing="$missing $2"
}
need /usr/include/gtest/gtest.h libgtest-dev
need /usr/include/benchmark/benchmark.h libbenchmark-dev
command -v cmake >/dev/null 2>&1 || missing="$missing cmake"
command -v g++ >/dev/null 2>&1 || missing="$missing g++"
if [ "${1:-}" = fuzz ]; then
    command -v clang++ >/dev/null 2>&1 || missing="$missing clang"
    ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
        missing="$missing libclang-rt-dev"
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
