# The project's front door. `make test` sets everything up from Debian's
# packages, builds all three builds and runs every test.
SHELL := /bin/bash
JOBS ?= 2
MOVIE ?= examples/showcase.vxa

.PHONY: all setup build build-native build-x86_64 build-i686 test test-native test-wine \
        check-modules fuzz bench play clean

all: build

setup:
	@scripts/setup

build: setup build-native build-x86_64 build-i686

build-native:
	@cmake --preset native >/dev/null
	@cmake --build build/native -j$(JOBS)

build-x86_64:
	@cmake --preset x86_64 >/dev/null
	@cmake --build build/x86_64 -j$(JOBS)

build-i686:
	@cmake --preset i686 >/dev/null
	@cmake --build build/i686 -j$(JOBS)

test: build
	@status=0; \
	$(MAKE) --no-print-directory test-native || status=1; \
	$(MAKE) --no-print-directory check-modules || status=1; \
	$(MAKE) --no-print-directory test-wine || status=1; \
	exit $$status

# The native tests include about 30 s of fuzzing; `make fuzz` goes on until
# stopped.
test-native:
	ctest --test-dir build/native --output-on-failure -j$(JOBS)

# Win32 tests under wine64; the environment is stopped afterwards only as far
# as this run started it.
test-wine:
	@status=0; started=$$(mktemp); scripts/wine-env start $$started >/dev/null; \
	ctest --test-dir build/x86_64 --output-on-failure || status=1; \
	scripts/wine-env stop $$started; exit $$status

check-modules:
	/usr/bin/python3 tests/plugin/check_module.py build/i686/zured16.dll build/x86_64/zured16.dll

fuzz:
	@scripts/fuzz 0

bench: setup build-native build-x86_64
	@scripts/bench

play: setup build-native build-x86_64
	@scripts/play $(MOVIE)

clean:
	rm -rf build out
