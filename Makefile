# The two commands of a fresh machine: `make run` and `make test`.
BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_DEB  ?= build-deb
BUILD_FUZZ ?= build-fuzz
JOBS       ?= $(shell nproc)

# Share the compiler cache between checkouts of the tree.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := true

.PHONY: run test deps configure build data unit asan e2e bench deb clean format
.PHONY: fuzz fuzz-build fuzz-smoke soak soak-hasty soak-smoke asan-game monkey monkey-smoke crash-safety

run: build
	cd $(BUILD) && ./pebblecraft

test: build unit asan e2e fuzz-smoke soak-smoke monkey-smoke crash-safety

deps:
	@./tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release > /dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

unit: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

asan: deps
	@cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DPC_SANITIZE=ON -DPC_TOOLS=OFF -DPC_BENCH=OFF > /dev/null
	@cmake --build $(BUILD_ASAN) -j$(JOBS) --target unit_tests
	cd $(BUILD_ASAN) && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j$(JOBS)

e2e: build
	./tests/e2e/run.sh $(BUILD)

# Every benchmark, the figures of the real game under Xvfb on a 1920 x 1080 full screen, then one table of
# the figures against their goals. BENCH_BEFORE=FOLDER (a build of earlier code) measures it too, each
# figure of the game right before this build's, and the table shows both side by side.
bench: build
	@mkdir -p $(BUILD)/bench-results
	@rm -rf $(BUILD)/bench-results/before
	@for b in $(BUILD)/bench_*; do n=$$(basename $$b); echo "== $$n"; \
		$$b --benchmark_out=$(BUILD)/bench-results/$$n.json --benchmark_out_format=json \
		| tee $(BUILD)/bench-results/$$n.txt; done
	@if [ -n "$(BENCH_BEFORE)" ]; then mkdir -p $(BUILD)/bench-results/before; \
		echo "== the game under Xvfb, the build before"; \
		./bench/game_figures.sh $(BENCH_BEFORE) | tee $(BUILD)/bench-results/before/game.txt; fi
	@echo "== the game under Xvfb"
	@./bench/game_figures.sh $(BUILD) | tee $(BUILD)/bench-results/game.txt
	@if [ -n "$(BENCH_BEFORE)" ]; then echo "== a level and the letters, the build before"; \
		./bench/level_figures.sh $(BENCH_BEFORE) $(BUILD)/bench-results/before/shots \
		| tee $(BUILD)/bench-results/before/level.txt; fi
	@echo "== a level and the letters"
	@./bench/level_figures.sh $(BUILD) $(BUILD)/bench-results/shots | tee $(BUILD)/bench-results/level.txt
	@python3 bench/summary.py $(BUILD)/bench-results

# The Debian package pebblecraft_VERSION_ARCH.deb in this folder, built apart with Debian's hardening flags
# and checked with lintian: `apt-get install ./pebblecraft_*.deb`, then `pebblecraft` starts the game.
deb: export DEB_BUILD_MAINT_OPTIONS = hardening=+all
deb: deps
	@cmake -S . -B $(BUILD_DEB) -DCMAKE_BUILD_TYPE=Release -DPC_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr \
	    -DCMAKE_C_FLAGS="$$(dpkg-buildflags --get CFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS) -Wl,--as-needed" > /dev/null
	@cmake --build $(BUILD_DEB) -j$(JOBS) --target pebblecraft game_data desktop_files
	@rm -f $(BUILD_DEB)/pebblecraft_*.deb pebblecraft_*.deb
	cd $(BUILD_DEB) && cpack -G DEB > cpack.log || { cat cpack.log; exit 1; }
	cp $(BUILD_DEB)/pebblecraft_*.deb .
	lintian --info pebblecraft_*.deb

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_DEB) $(BUILD_FUZZ) pebblecraft_*.deb

# Robustness: fuzzing every reader, the soak of the rules, the monkey in the real window, crash safety.
FUZZ_SECONDS   ?= 60
SOAK_GAMES     ?= 10000
SOAK_SEED      ?= 1
MONKEY_SECONDS ?= 600

fuzz-build: deps
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -DCMAKE_BUILD_TYPE=Debug \
		"-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only" "-DCMAKE_C_FLAGS_DEBUG=-O1 -gline-tables-only" \
		-DPC_FUZZ=ON -DPC_TOOLS=OFF -DPC_BENCH=OFF > /dev/null
	@cmake --build $(BUILD_FUZZ) -j$(JOBS) --target fuzz_all

# Every target FUZZ_SECONDS long; what they find accumulates in $(BUILD_FUZZ)/fuzz-corpus.
fuzz: fuzz-build
	./tests/fuzz/run.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	./tests/fuzz/run.sh $(BUILD_FUZZ) 10 fresh

# The bot's games, then as many of the hasty player's (SOAK_SEED repeats a run; each run prints its seed).
soak: build
	$(BUILD)/pebblecraft-sim soak --data $(BUILD)/Data --games $(SOAK_GAMES) --seed $(SOAK_SEED)
	$(BUILD)/pebblecraft-sim soak --hasty --data $(BUILD)/Data --games $(SOAK_GAMES) --seed $(SOAK_SEED)

# Only the hasty player, for as long as the soak.
soak-hasty: build
	$(BUILD)/pebblecraft-sim soak --hasty --data $(BUILD)/Data --games $(SOAK_GAMES) --seed $(SOAK_SEED)

soak-smoke: build
	$(BUILD)/pebblecraft-sim soak --data $(BUILD)/Data --games 300 --seed 1000
	$(BUILD)/pebblecraft-sim soak --hasty --data $(BUILD)/Data --games 300 --seed 1000

# The game itself under ASan and UBSan, on the data of the plain build.
asan-game: build
	@cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DPC_SANITIZE=ON -DPC_TOOLS=OFF -DPC_BENCH=OFF > /dev/null
	@cmake --build $(BUILD_ASAN) -j$(JOBS) --target pebblecraft e2e_wm_delete e2e_leak
	@ln -sfn $(abspath $(BUILD))/Data $(BUILD_ASAN)/Data

monkey: asan-game
	./tests/e2e/monkey.sh $(BUILD_ASAN) $(MONKEY_SECONDS)

monkey-smoke: asan-game
	./tests/e2e/monkey.sh $(BUILD_ASAN) 60

CRASH_ROUNDS ?= 4
crash-safety: build
	./tests/e2e/crash_safety.sh $(BUILD) $(CRASH_ROUNDS)
