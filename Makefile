# The README's two commands: `make run` and `make test`; a bare `make` builds.
# The Windows build: `make windows`, `make windows-test`, `make windows-package`.
PRESET ?= $(if $(CI),ci,default)
WINDOWS_PRESET ?= $(if $(CI),windows-ci,windows)

.PHONY: run test build configure deps bench fuzz clean help format-check \
        windows-deps windows windows-test windows-package windows-clean
.DEFAULT_GOAL := build

help:
	@echo "make           build everything (same as make build)"
	@echo "make run       install what is missing, build, start the configurator"
	@echo "make test      install what is missing, build, run every test"
	@echo "make bench     build and run the benchmarks"
	@echo "make deps      install the Debian packages the build needs"
	@echo "make configure configure the CMake preset ($(PRESET))"
	@echo "make fuzz      build the fuzz targets and run each for FUZZ_SECONDS (default 60)"
	@echo "make format-check  check the formatting of the sources"
	@echo "make clean     remove the build folder"
	@echo "make windows          cross-build for Windows into build-windows/ (mingw-w64)"
	@echo "make windows-test     build for Windows and run its tests under Wine"
	@echo "make windows-package  build the Windows zip and installer"
	@echo "make windows-clean    remove the Windows build folder"

deps:
	./tools/install-deps

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

run: build
	./build/bin/mirandel

test: build
	QT_QPA_PLATFORM=offscreen ctest --preset $(PRESET)

bench: build
	./bench/run-benchmarks

windows-deps:
	./tools/install-deps --windows

windows: windows-deps
	MIRANDEL_WINDOWS_PREFIX="$$(./tools/windows/prefix)" cmake --preset $(WINDOWS_PRESET)
	cmake --build --preset $(WINDOWS_PRESET)

windows-test: windows
	./tools/windows/run-tests $(WINDOWS_PRESET)

windows-package: windows
	./tools/windows/package build-windows

# Builds the libFuzzer targets (preset fuzz, build-fuzz/) and runs each for
# FUZZ_SECONDS, one after the other.
FUZZ_SECONDS ?= 60
fuzz: deps
	./tools/run-fuzz $(FUZZ_SECONDS)

format-check:
	./tools/check-format

clean:
	rm -rf build build-fuzz

windows-clean:
	rm -rf build-windows
