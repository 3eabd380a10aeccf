# QX Gestures Builder. `make run` and `make test` are the two commands that
# matter; both install missing Debian/Ubuntu packages first.
BUILD      ?= build
NATIVE     := $(BUILD)/native
WIN        := $(BUILD)/win
BENCHDIR   := $(BUILD)/bench
WINREL     := $(BUILD)/win-release
DIST       := $(BUILD)/dist
PREFIX_DIR := $(BUILD)/wineprefix
PKG_PREFIX := $(BUILD)/wineprefix-package
VERSION    := $(shell sed -n 's/^project.qxgestures VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
PREFIX     ?= $(HOME)/.local
JOBS       ?= $(shell nproc)
SAMPLE     ?= samples/wave.qxm

CONFIGURE_NATIVE = cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQX_SANITIZE=ON -DQX_FUZZ=ON
CONFIGURE_WIN = cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
CONFIGURE_WINREL = cmake -S . -B $(WINREL) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake

.PHONY: all builder release run test screenshot bench fuzz native win dist install uninstall clean

all: native win

native:
	@scripts/install-deps test
	@[ -f $(NATIVE)/build.ninja ] || $(CONFIGURE_NATIVE) >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

win:
	@scripts/install-deps run
	@[ -f $(WIN)/build.ninja ] || $(CONFIGURE_WIN) >/dev/null
	cmake --build $(WIN) -j $(JOBS)

builder:
	@scripts/install-deps run
	@[ -f $(WIN)/build.ninja ] || $(CONFIGURE_WIN) >/dev/null
	cmake --build $(WIN) -j $(JOBS) --target qxbuilder

# The optimised, stripped executables that run, dist and install ship.
release:
	@scripts/install-deps run
	@[ -f $(WINREL)/build.ninja ] || $(CONFIGURE_WINREL) >/dev/null
	cmake --build $(WINREL) -j $(JOBS) --target qxbuilder qxmtool

run: release
	scripts/run-builder $(WINREL)/qxbuilder.exe $(SAMPLE)

test: native win dist
	scripts/check-layers
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	scripts/with-display $(PREFIX_DIR) sh -c 'cd $(WIN) && ctest --output-on-failure -j $(JOBS)'
	scripts/with-display $(PKG_PREFIX) scripts/test-package $(WIN) $(WINREL) $(DIST) $(VERSION) $(BUILD)/wineprefix-desktop

# The release for Windows: a zip and a per-user installer.
dist: release
	@scripts/install-deps dist
	scripts/make-dist $(WINREL) $(DIST) $(VERSION)

# The release on this Linux desktop, under PREFIX (default ~/.local).
install: release
	@scripts/install-deps install
	scripts/desktop-install install $(PREFIX) $(WINREL)

uninstall:
	scripts/desktop-install uninstall $(PREFIX)

screenshot: win
	@scripts/install-deps screenshot
	scripts/with-display $(PREFIX_DIR) scripts/screenshot $(WIN) docs

bench:
	@scripts/install-deps bench
	@[ -f $(BENCHDIR)/build.ninja ] || cmake -S . -B $(BENCHDIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX_BENCH=ON -DQX_TESTS=OFF >/dev/null
	cmake --build $(BENCHDIR) -j $(JOBS)
	scripts/run-benchmarks $(BENCHDIR)
	@[ -f $(WINREL)/build.ninja ] || $(CONFIGURE_WINREL) >/dev/null
	cmake --build $(WINREL) -j $(JOBS) --target bench_test_command bench_palette_paint
	scripts/with-display $(PREFIX_DIR) sh -c 'scripts/wine-run $(WINREL)/tests/bench_test_command.exe 50 && \
		scripts/wine-run $(WINREL)/tests/bench_palette_paint.exe 1000 5 && \
		scripts/wine-run $(WINREL)/tests/bench_palette_paint.exe 10000 3'

fuzz: native
	scripts/run-fuzzers $(NATIVE) $${FUZZ_SECONDS:-60}

clean:
	rm -rf $(BUILD)
