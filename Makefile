# The README's two commands: `make run` and `make test`; the Windows build
# with `make windows`, `make windows-test` and `make windows-package`.
PRESET ?= $(if $(CI),ci,default)
WINDOWS_PRESET ?= $(if $(CI),windows-ci,windows)

.PHONY: run test build configure deps bench clean \
        windows-deps windows windows-test windows-package windows-clean

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

clean:
	rm -rf build

windows-clean:
	rm -rf build-windows
