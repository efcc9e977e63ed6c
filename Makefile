# Convenience entry points; the build itself is CMake.
BUILD ?= build
WIN_BUILD ?= build-win
JOBS ?= $(shell nproc)

.PHONY: deps build run test test-windows bench screenshot clean

deps:
	./scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# Opens Talmo on the bundled example mod. It needs a display; on a machine
# without one, `xvfb-run make run`.
run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$QT_QPA_PLATFORM" ]; then \
	  echo "make run: no display; on a machine without one: xvfb-run make run" >&2; exit 1; fi
	cd examples/mod && ../../$(BUILD)/app/talmo

# The benchmarks and the screenshot program are outside the default build;
# building them here keeps a change that breaks them from going unseen.
test: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks talmo-screenshot
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	$(MAKE) test-windows

$(WIN_BUILD)/build.ninja:
	cmake -S tests/windows -B $(WIN_BUILD) -G Ninja \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw64.cmake

# The modules without Qt and their unit tests, built for Windows with
# mingw-w64 and run under wine (its prefix lives in $(WIN_BUILD)).
test-windows: deps $(WIN_BUILD)/build.ninja
	cmake --build $(WIN_BUILD) -j $(JOBS)
	ctest --test-dir $(WIN_BUILD) --output-on-failure -j $(JOBS)

bench: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks talmo talmo-lsp
	./bench/run-all $(BUILD)

screenshot: build
	./scripts/screenshot screenshots

# The Debian package, talmo_<version>_<arch>.deb in $(PACKAGE_BUILD): a
# build of its own, without the tests and benchmarks, builds only what the
# package ships.
PACKAGE_BUILD ?= build-package
.PHONY: package
package: deps
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTALMO_BUILD_TESTS=OFF -DTALMO_BUILD_BENCH=OFF
	cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target package

clean:
	rm -rf $(BUILD) $(WIN_BUILD) $(PACKAGE_BUILD)
