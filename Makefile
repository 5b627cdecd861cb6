# The README's two commands: `make run` and `make test`.
PRESET ?= $(if $(CI),ci,default)

.PHONY: run test build configure deps bench fuzz clean

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

# Builds the libFuzzer targets (preset fuzz, build-fuzz/) and runs each for
# FUZZ_SECONDS, one after the other.
FUZZ_SECONDS ?= 60
fuzz: deps
	./tools/run-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build build-fuzz
