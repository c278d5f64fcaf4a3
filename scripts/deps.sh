#!/bin/sh
# Makes sure the packages that the tests and benchmarks need are installed:
# installs them with apt-get when run as root, otherwise names the command.
set -eu
missing=""
need() {  # need FILE PACKAGE
    [ -e "$1" ] || missing="$missing $2"
}
need /usr/include/gtest/gtest.h libgtest-dev
need /usr/include/benchmark/benchmark.h libbenchmark-dev
command -v cmake >/dev/null 2>&1 || missing="$missing cmake"
command -v g++ >/dev/null 2>&1 || missing="$missing g++"
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
