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

bench: build
	@for b in $(BUILD)/bench_*; do echo "== $$b"; $$b; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(BUILD_ASAN)
