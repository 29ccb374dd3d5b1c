# Tallywick's commands. `make run` and `make test` set up a fresh Debian 12
# machine themselves (missing packages, configure, build) before they act:
# `make run` with what building and running the game needs, the commands that
# test, measure or package with the test tools as well.
BUILD ?= build
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
# Our own builds stop on any warning; a plain `cmake` configure only shows them.
WERROR = -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# A second build with AddressSanitizer and UndefinedBehaviorSanitizer; its
# tests run too, and LeakSanitizer reports what is left at exit.
SANITIZE_BUILD ?= build-asan
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
SOAK_EVENTS ?= 1000000

.PHONY: all setup setup-tests configure build sanitize-build run test check builds soak bench screenshot package clean

all: build

setup:
	@bash scripts/setup.sh

setup-tests:
	@bash scripts/setup.sh --tests

configure: setup
	@cmake -S . -B $(BUILD) $(WERROR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

sanitize-build: setup
	@cmake -S . -B $(SANITIZE_BUILD) $(WERROR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYWICK_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)

run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tallywick
	@$(BUILD)/tallywick

# Both passes always run, and both report, before a failure of either fails `make test`.
test: setup-tests build sanitize-build
	@ordinary=passed; sanitized=passed; \
	(cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)) || ordinary=FAILED; \
	echo "--- the tests that drive the game's code, in the sanitizer build ---"; \
	(cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen \
		ctest --output-on-failure -j $(JOBS)) || sanitized=FAILED; \
	echo "make test: ordinary build $$ordinary, sanitizer build $$sanitized"; \
	[ $$ordinary$$sanitized = passedpassed ]

# The fast loop: the ordinary build brought up to date, and the tests that need no display server,
# bus or package tools (all but those labelled system, and the slow solver sweep).
check: configure
	@cmake --build $(BUILD) -j $(JOBS)
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE 'system|slow'

# Every build configuration with GCC and clang, each in builds/NAME, one line per build (slow; not
# part of `make test`). BUILDS="gcc-Release clang-sanitize" builds only those.
BUILDS ?=
builds: setup-tests
	@bash scripts/builds.sh $(BUILDS)

# A million random events on the real window, in both builds.
soak: build sanitize-build
	@TALLYWICK_MONKEY_EVENTS=$(SOAK_EVENTS) QT_QPA_PLATFORM=offscreen $(BUILD)/tests/monkey_test
	@TALLYWICK_MONKEY_EVENTS=$(SOAK_EVENTS) $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen \
		$(SANITIZE_BUILD)/tests/monkey_test

bench: setup-tests build
	@bash scripts/bench.sh $(BUILD)

screenshot: setup-tests build
	@bash scripts/screenshot.sh $(BUILD)

package: setup-tests build
	@cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) builds
