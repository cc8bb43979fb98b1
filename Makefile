# Two commands do everything on a fresh Debian 12 machine (as root):
#   make run    install what is missing, build, open Quelfit
#   make test   install what is missing, build, run every test through ctest
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup build run run-viewer test bench clean

setup:
	@scripts/setup

build: setup
	@cmake -S . -B $(BUILD) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/fitter/quelfit

run-viewer: build
	$(BUILD)/viewer/quelplot

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/quelbench

clean:
	rm -rf $(BUILD)
