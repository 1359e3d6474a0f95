# Quillo's everyday commands. Each one installs what is missing first.
#   make run      build and start Quillo
#   make test     build and run every test
#   make package  build the Debian package $(BUILD)/quillo_<version>_<arch>.deb
#   make format        format every C++ source with the project's .clang-format
#   make format-check  fail on a C++ source that make format would change
# Developer checks, each in a build folder of its own:
#   make bench      time Quillo against bare Qt programs and print the table
#   make test-asan  run every test under AddressSanitizer, LeakSanitizer and UBSan
#   make fuzz       run each fuzz target for FUZZ_SECONDS seconds (default 60),
#                   one worker on each core (FUZZ_WORKERS to choose)
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test package format format-check clean bench test-asan fuzz

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

configure: deps $(BUILD)/build.ninja

build: configure
	@cmake --build $(BUILD)

run: build
	@scripts/with-runtime-dir.sh $(BUILD)/quillo

test: build
	@cd $(BUILD) && ctest --output-on-failure -j2

# Packaging: the Debian package, made by CPack from the install rules
# (cmake/Packaging.cmake).
package: build
	@cd $(BUILD) && cpack -G DEB

# Benchmarks (bench/): a release build of Quillo and the bench programs, run
# under Xvfb (docs/performance.md); the table also goes to $(BENCH_BUILD)/performance.md.
BENCH_BUILD ?= build-bench

bench: deps
	@cmake -S bench -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_BUILD)
	@/usr/bin/python3 bench/run-bench.py $(BENCH_BUILD)

# The whole suite built with QUILLO_ENABLE_SANITIZERS (cmake/Sanitizers.cmake).
# The web-engine tests (those run with --web) are left out: QtWebEngine's own
# code trips AddressSanitizer (a new/delete size mismatch in libQt6WebEngineCore).
ASAN_BUILD ?= build-asan
WEB_TESTS   = ctest --show-only=json-v1 | /usr/bin/python3 -c 'import json, sys; \
	print("^(" + "|".join(t["name"] for t in json.load(sys.stdin)["tests"] if "--web" in t["command"]) + ")$$")'

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
		-DQUILLO_ENABLE_SANITIZERS=ON >/dev/null
	@cmake --build $(ASAN_BUILD)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j2 -E "$$($(WEB_TESTS))"

# libFuzzer targets (fuzz/), built with clang; a long run: make fuzz FUZZ_SECONDS=3600
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_WORKERS ?= $(shell nproc)

fuzz: deps
	@cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_BUILD)
	@fuzz/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_WORKERS)

format: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	@rm -rf $(BUILD)
