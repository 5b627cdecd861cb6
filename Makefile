# The README's two commands: `make run` and `make test`.
PRESET ?= $(if $(CI),ci,default)

.PHONY: run test build configure deps bench clean

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

clean:
	rm -rf build
