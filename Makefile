# Tallywick's commands. `make run` and `make test` set up a fresh Debian 12
# machine themselves (missing packages, configure, build) before they act.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup configure build run test bench screenshot package clean

all: build

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/tallywick

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@bash scripts/bench.sh $(BUILD)

screenshot: build
	@bash scripts/screenshot.sh $(BUILD)

package: build
	@cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD)
