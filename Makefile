# The README's two commands: `make run` and `make test`; a bare `make` builds.
PRESET ?= $(if $(CI),ci,default)

.PHONY: run test build configure deps bench clean help format-check
.DEFAULT_GOAL := build

help:
	@echo "make           build everything (same as make build)"
	@echo "make run       install what is missing, build, start the configurator"
	@echo "make test      install what is missing, build, run every test"
	@echo "make bench     build and run the benchmarks"
	@echo "make deps      install the Debian packages the build needs"
	@echo "make configure configure the CMake preset ($(PRESET))"
	@echo "make format-check  check the formatting of the sources"
	@echo "make clean     remove the build folder"

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

format-check:
	./tools/check-format

clean:
	rm -rf build
