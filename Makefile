# The two commands of a fresh machine: `make run` and `make test`.
BUILD      ?= build
BUILD_ASAN ?= build-asan
JOBS       ?= $(shell nproc)

# Share the compiler cache between checkouts of the tree.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := true

.PHONY: run test deps configure build data unit asan e2e bench clean format

run: build
	cd $(BUILD) && ./pebblecraft

test: build unit asan e2e

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

# Every benchmark, the figures of the real game under Xvfb, then one table of the figures against their goals.
bench: build
	@mkdir -p $(BUILD)/bench-results
	@for b in $(BUILD)/bench_*; do n=$$(basename $$b); echo "== $$n"; \
		$$b --benchmark_out=$(BUILD)/bench-results/$$n.json --benchmark_out_format=json \
		| tee $(BUILD)/bench-results/$$n.txt; done
	@echo "== the game under Xvfb"
	@./bench/game_figures.sh $(BUILD) | tee $(BUILD)/bench-results/game.txt
	@python3 bench/summary.py $(BUILD)/bench-results

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(BUILD_ASAN)
