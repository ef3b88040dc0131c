# The two set-up commands: `make demo` and `make test`. Both install what
# they need and build from nothing.
BUILD ?= build
SAN_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)
PACKAGES := cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            libpng-dev libfreetype-dev fonts-dejavu-core \
            libsdl2-dev xvfb xauth xdotool xfonts-base python3

.PHONY: all deps build demo run test test-normal test-sanitize test-install install bench bench-peers format clean

all: build

deps:
	@scripts/ensure-packages.sh $(PACKAGES)

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

demo: build
	$(BUILD)/bin/qzhost registry
	$(BUILD)/bin/qzhost gallery --png gallery.png

# The sample tool's panel and viewer in a window on the desktop.
run: build
	$(BUILD)/bin/qzhost run

test: test-normal test-sanitize test-install

test-normal: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

test-sanitize: deps
	@cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQZ_SANITIZE=ON -DQZ_BENCH=OFF >/dev/null
	@cmake --build $(SAN_BUILD) -j$(JOBS)
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j$(JOBS)

# Installs into PREFIX (default /usr/local).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Installs into a temporary prefix and builds and tests the out-of-tree
# example against it, as a developer using the package would.
test-install: build
	@set -e; prefix=$$(mktemp -d); trap 'rm -rf "$$prefix"' EXIT; \
	cmake --install $(BUILD) --prefix "$$prefix" >/dev/null; \
	PKG_CONFIG_PATH="$$prefix/lib/pkgconfig" pkg-config --exists --print-errors qzcontrols-harness; \
	cmake -S examples -B "$$prefix/example-build" -DCMAKE_PREFIX_PATH="$$prefix" >/dev/null; \
	cmake --build "$$prefix/example-build" -j$(JOBS) >/dev/null; \
	cd "$$prefix/example-build" && ctest --output-on-failure

# Runs every benchmark program, and the Qt 6 Widgets peer program where Qt is
# installed, then prints our rows beside Qt's from the JSON of that one run.
BENCH_OUT ?= $(BUILD)/bench-results
bench: build
	@cmake --build $(BUILD) -j$(JOBS) --target peers >/dev/null
	@rm -rf $(BENCH_OUT) && mkdir -p $(BENCH_OUT)
	@status=0; \
	for b in $(BUILD)/bin/bench_* $(BUILD)/bin/qt_peers; do \
	  [ -x "$$b" ] || continue; \
	  "$$b" --benchmark_out="$(BENCH_OUT)/$$(basename "$$b").json" --benchmark_out_format=json || status=1; \
	done; \
	python3 scripts/bench-table.py $(BENCH_OUT)/*.json; \
	exit $$status

# The same, after installing the Qt 6 development package when it is missing.
bench-peers:
	@scripts/ensure-packages.sh qt6-base-dev
	@$(MAKE) --no-print-directory bench

# The random session driver in the sanitizer build, for as long as asked:
#   make fuzz ACTIONS=10000000    or    make fuzz SECONDS=600
# Reproducers (a script per failing seed) go to FUZZ_OUT.
ACTIONS ?= 100000
SECONDS ?= 0
SEED ?= 1
FUZZ_OUT ?= fuzz-failures
.PHONY: fuzz
fuzz: deps
	@cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQZ_SANITIZE=ON -DQZ_BENCH=OFF >/dev/null
	@cmake --build $(SAN_BUILD) -j$(JOBS) --target qzcontrols qzfuzz
	@ASAN_OPTIONS=detect_leaks=1 scripts/fuzz.sh $(SAN_BUILD)/bin/qzfuzz $(ACTIONS) $(SECONDS) $(SEED) $(FUZZ_OUT)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
