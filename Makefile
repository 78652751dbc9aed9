# Zendra: the commands a newcomer needs. Each target first installs missing Debian packages.
#   make run    set up, build and start the program
#   make test   set up, build and run every test (also under ASan + UBSan)
#   make bench  release build and the benchmarks
#   make fuzz   every libFuzzer target for FUZZ_SECONDS each
#   make format apply .clang-format to the sources

FUZZ_SECONDS ?= 30
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

.PHONY: setup build run test test-dev test-asan bench fuzz format clean

setup:
	@scripts/setup.sh

build: setup
	cmake --preset dev
	cmake --build --preset dev

run: build
	build/dev/tools/zendra-board-gui/zendra-board-gui --setup "CCDCECFDGE EDFEGFHFCE" --moves "DDEEDE"

test: setup
	cmake --preset dev
	cmake --build --preset dev
	ctest --preset dev
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

bench: setup
	cmake --preset bench
	cmake --build --preset bench
	scripts/run-benchmarks.sh build/bench

fuzz: setup
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

format:
	clang-format -i $(SOURCES)

clean:
	rm -rf build
