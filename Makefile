# The project's front door. `make test` sets everything up from Debian's
# packages, builds all three builds and runs every test.
SHELL := /bin/bash
JOBS ?= 2
MOVIE ?= examples/showcase.vxa
PREFIX ?= $(HOME)/.local

.PHONY: all setup build build-native build-x86_64 build-i686 build-bench test test-native test-wine \
        test-agreement test-i686 check-modules test-web web web-demo extension fuzz bench mutants play install guide-pictures stop fuzz-module clean

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

# The native build runs under the sanitizers; the benchmarks get a build of
# their own without them.
build-bench:
	@cmake --preset bench >/dev/null
	@cmake --build build/bench -j$(JOBS)

test: build web
	@status=0; \
	$(MAKE) --no-print-directory test-native || status=1; \
	$(MAKE) --no-print-directory check-modules || status=1; \
	$(MAKE) --no-print-directory test-wine || status=1; \
	$(MAKE) --no-print-directory test-agreement || status=1; \
	$(MAKE) --no-print-directory test-i686 || status=1; \
	$(MAKE) --no-print-directory test-web || status=1; \
	exit $$status

# The native tests run under AddressSanitizer and UndefinedBehaviorSanitizer
# and include about 30 s of fuzzing; `make fuzz` goes on until stopped.
test-native:
	ctest --test-dir build/native --output-on-failure -j$(JOBS)

# Win32 tests under wine64; the environment is stopped afterwards only as far
# as this run started it.
test-wine:
	@status=0; started=$$(mktemp); scripts/wine-env start $$started >/dev/null; \
	ctest --test-dir build/x86_64 --output-on-failure || status=1; \
	scripts/wine-env stop $$started; exit $$status

# The portable renderer against the plug-in: every example and a probe movie
# per kind of object, played once through the module under Wine and rendered
# natively, compared frame by frame.
AGREEMENT = /usr/bin/python3 tests/core/raster/agreement.py --vxa build/native/tools/vxa/vxa \
  --render build/native/tests/core/raster/render_frames --kind showcase=examples/showcase.vxa \
  --kind narrow=examples/narrow.vxa --kind wait-for-click=examples/wait-for-click.vxa@2500 --probes
test-agreement:
	@status=0; started=$$(mktemp); scripts/wine-env start $$started >/dev/null; \
	$(AGREEMENT) --vxaplay scripts/vxaplay --work build/agreement || status=1; \
	scripts/wine-env stop $$started; exit $$status

# The i686 build, the module users install, under Wine's WoW64 mode in the
# Debian 13 root that setup makes: its Win32 tests, the agreement run through
# its module, and its pictures of every example and probe against the x86_64
# build's (those test-agreement recorded; recorded first when there are none).
# A kernel that runs no 32-bit code (its IA-32 emulation off) cannot run
# them at all: there they are skipped, and said so.
# The i686 build runs under the WoW64 root's Wine 10, whose DrawTextA does not
# break lines after hyphens as Wine 8's does (which the renderer follows): the
# text probe's wrapping is compared between the two builds under that Wine.
ROOT_WINE_TEXT = --text-unchecked text
test-i686:
	@if ! why=$$(scripts/ia32-probe); then echo "test-i686: SKIPPED, the i686 build cannot run here: $$why"; exit 0; fi; \
	status=0; started=$$(mktemp); scripts/wine-env --i686 start $$started >/dev/null; \
	ctest --test-dir build/i686 --output-on-failure || status=1; \
	$(AGREEMENT) --vxaplay "scripts/vxaplay --i686" --work build/agreement-i686 $(ROOT_WINE_TEXT) || status=1; \
	echo "the x86_64 build under the same Wine:"; \
	$(AGREEMENT) --vxaplay "scripts/vxaplay --root-wine" --work build/agreement-root-wine $(ROOT_WINE_TEXT) || status=1; \
	echo "i686 and x86_64 recordings:"; \
	/usr/bin/python3 tests/core/raster/same_recordings.py build/agreement-root-wine build/agreement-i686 || status=1; \
	scripts/wine-env --i686 stop $$started; exit $$status

check-modules:
	/usr/bin/python3 tests/plugin/check_module.py build/i686/zured16.dll build/x86_64/zured16.dll

# The WebAssembly player in build/web, as a site would serve it, and packed
# in build/npm: an npm package and a zip of the same files.
web: setup
	@cmake --preset web >/dev/null
	@cmake --build build/wasm -j$(JOBS)
	@scripts/build-package

# The browser extension, unpacked for Chromium and for Firefox in
# build/extension/, and a zip of each.
extension: web
	@scripts/build-extension

# The player in headless Chromium, against build/web and `vxa render`, and
# the extension loaded into it.
test-web: web extension build-native
	node --test --test-concurrency=1 tests/web/

# The demo site on http://127.0.0.1:$(WEB_PORT)/ until stopped.
WEB_PORT ?= 8016
web-demo: web
	@echo "web-demo: http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops it)"
	@cd build/web && /usr/bin/python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

fuzz:
	@scripts/fuzz 0

# Streams played through the built module under Wine, one after another,
# until stopped (FUZZ_SECONDS=N for a bounded run); a figures line every
# minute. FUZZ_BUILD=i686 fuzzes the i686 module under WoW64 instead of the
# x86_64 one. A crash or a hang saves its stream in
# build/$(FUZZ_BUILD)/tests/fuzz/module.
FUZZ_SECONDS ?= 0
FUZZ_BUILD ?= x86_64
fuzz-module: setup build-$(FUZZ_BUILD)
	@scripts/wine-run $(if $(filter i686,$(FUZZ_BUILD)),--i686) \
	  build/$(FUZZ_BUILD)/tests/fuzz/module/module_fuzz.exe --seconds $(FUZZ_SECONDS) \
	  --save build/$(FUZZ_BUILD)/tests/fuzz/module

bench: setup build-bench build-x86_64 build-i686 web
	@scripts/bench

# Breaks the product one change at a time (tests/mutants/mutations.toml) in a
# scratch copy of the tree under build/mutants and checks that the tests
# named for each change fail. Not part of `make test`: every change means a
# rebuild and a test run. `make mutants ONLY=name` runs one; VERBOSE=1 shows
# the end of each failing test's output; CHECK=1 only checks that every text
# of the table is still in the code, in a second.
mutants: setup
	@scripts/mutants $(addprefix --only ,$(ONLY)) $(if $(VERBOSE),--verbose) $(if $(CHECK),--check)

play: setup build-native build-x86_64
	@scripts/play $(MOVIE)

# vxa built without the sanitizers, and a vxaplay that runs this checkout's
# scripts/vxaplay (it needs the checkout's Wine build and prefix), under
# PREFIX/bin.
install: setup
	@cmake --preset release >/dev/null
	@cmake --build build/release -j$(JOBS) --target vxa
	@cmake --preset x86_64 >/dev/null
	@cmake --build build/x86_64 -j$(JOBS) --target vxaplay
	install -d "$(PREFIX)/bin"
	install -m 755 build/release/tools/vxa/vxa "$(PREFIX)/bin/vxa"
	printf '#!/bin/sh\nexec "%s/scripts/vxaplay" "$$@"\n' "$(CURDIR)" > "$(PREFIX)/bin/vxaplay"
	chmod 755 "$(PREFIX)/bin/vxaplay"

# Draws docs/authoring.md's pictures again from their sources (make test
# fails while a committed one differs from what is drawn).
guide-pictures: setup build-native
	@build/native/tools/guide_pictures/guide_pictures docs/authoring

# Stops what any run of this worktree started and left running: the
# PulseAudio server, an Xvfb display of its own, the Wine programs.
stop:
	@scripts/wine-env stop

clean:
	rm -rf build out
