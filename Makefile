# The two commands a newcomer needs: `make run` and `make test`.
JOBS ?= $(shell nproc)
# Many tests wait on child processes: twice as many at once keeps the cores busy.
TEST_JOBS ?= $(shell echo $$(( $(JOBS) * 2 )))
MAKEFLAGS += --no-print-directory
BUILD := build
ASAN := build-asan

.PHONY: all build run test test-release test-asan bench clean format install deb

all: build

# Each job says which of the shared build tree's parts it wants, so that
# `make run` after `make test` builds no test. The tests' jobs hold warnings
# as errors (GAME_WERROR); the others leave it as the tree has it, since
# changing it would rebuild everything.
build:
	scripts/deps.sh build
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DGAME_TESTS=OFF -DGAME_BENCH=OFF >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

# One game of zarvel-002 beside the best arrangement of its deal, then a
# match of every player over 200 deals, then how to play a deal yourself.
run: build
	@scripts/demo.sh $(BUILD)

# The suite as a user gets it: `columns` in PREFIX/bin, the programs in
# PREFIX/libexec/columns, the manual pages and bash's completion; DESTDIR is
# honoured. `make deb` makes the Debian package of the same files.
PREFIX ?= /usr/local
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

deb: build
	cd $(BUILD) && cpack -G DEB

test: test-release test-asan

test-release:
	scripts/deps.sh test
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DGAME_TESTS=ON -DGAME_BENCH=OFF -DGAME_WERROR=ON >/dev/null
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(TEST_JOBS)

test-asan:
	scripts/deps.sh test
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Sanitize -DGAME_TESTS=ON -DGAME_SANITIZE=ON -DGAME_WERROR=ON >/dev/null
	cmake --build $(ASAN) -j $(JOBS)
	ctest --test-dir $(ASAN) --output-on-failure -j $(TEST_JOBS)

bench:
	scripts/deps.sh bench
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DGAME_TESTS=OFF -DGAME_BENCH=ON >/dev/null
	cmake --build $(BUILD) -j $(JOBS)
	@set -e; for b in $(BUILD)/bench/bench-*; do [ -x "$$b" ] || continue; echo "== $$b"; (cd $(BUILD) && "../$$b"); done
	@scripts/instructions.sh $(BUILD)
	@echo "== sim-player against ev-player: a fixed match of 500 deals"
	@$(BUILD)/bin/match --seed 1 --deals 500 sim-player ev-player
	@scripts/match_speed.sh $(BUILD)
	@scripts/decide_power.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN)

# Formats the tracked C++ files in place, in the style of .clang-format.
format:
	scripts/deps.sh format
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i

# Fuzzing: every place where outside bytes enter, built with clang and
# libFuzzer into build-fuzz/, each target run for FUZZ_SECONDS. A finding
# fails the run; its reproducer lands in fuzz/corpus/<target>/, and
# `make test` replays that folder from then on. The targets are those
# fuzz/CMakeLists.txt declares (it lists them in build-fuzz/fuzz/targets.txt);
# `make fuzz FUZZ_TARGETS="deck_file game_record"` runs only those.
FUZZ := build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=

.PHONY: fuzz
fuzz:
	scripts/deps.sh fuzz
	cmake -S . -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAME_TESTS=OFF \
	  -DGAME_SANITIZE=ON -DGAME_FUZZ=ON >/dev/null
	@targets="$(FUZZ_TARGETS)"; targets="$${targets:-$$(cat $(FUZZ)/fuzz/targets.txt)}"; \
	  cmake --build $(FUZZ) -j $(JOBS) --target $$(printf 'fuzz-%s ' $$targets) && \
	  fuzz/run.sh $(FUZZ) $(FUZZ_SECONDS) $$targets
