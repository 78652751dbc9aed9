# Zendra: the commands a newcomer needs. Each target first installs missing Debian packages.
#   make run    set up, build and start the program
#   make test   set up, build and run every test (also under ASan + UBSan)
#   make bench  release build and the benchmarks
#   make bench-startup  start-up time and memory beside qgo and kigo (Xvfb)
#   make fuzz   every libFuzzer target for FUZZ_SECONDS each
#   make format apply .clang-format to the sources
#   make install  build and install (PREFIX, default /usr/local; DESTDIR for staging)
#   make package  build the Debian package (build/dev/zendra_<version>_<arch>.deb)

FUZZ_SECONDS ?= 30
PREFIX ?= /usr/local
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

.PHONY: setup build run test test-dev test-asan bench bench-startup fuzz format clean install package

setup:
	@scripts/setup.sh

build: setup
	cmake --preset dev
	cmake --build --preset dev

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display: start it under Xvfb with 'cd build/dev && xvfb-run -s \"-screen 0 1024x768x24\" app/zendra', or with Qt's VNC platform: 'cd build/dev && QT_QPA_PLATFORM=vnc app/zendra' (then connect a VNC viewer to port 5900)."; \
	  exit 1; \
	fi
	cd build/dev && app/zendra

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

# Start-up time and memory beside qgo and kigo, under Xvfb (installs those two when root).
bench-startup: build
	bench/startup/measure-startup.sh build/dev/app/zendra

fuzz: setup
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

install: build
	DESTDIR="$(DESTDIR)" cmake --install build/dev --prefix "$(PREFIX)"

package: build
	cd build/dev && cpack -G DEB

format:
	clang-format -i $(SOURCES)

clean:
	rm -rf build
