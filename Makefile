# QX Gestures Builder. `make run` and `make test` are the two commands that
# matter; both install missing Debian/Ubuntu packages first.
BUILD      ?= build
NATIVE     := $(BUILD)/native
WIN        := $(BUILD)/win
BENCHDIR   := $(BUILD)/bench
WINBENCH   := $(BUILD)/win-release
PREFIX_DIR := $(BUILD)/wineprefix
JOBS       ?= $(shell nproc)
SAMPLE     ?= samples/wave.qxm

CONFIGURE_NATIVE = cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQX_SANITIZE=ON -DQX_FUZZ=ON
CONFIGURE_WIN = cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake

.PHONY: all builder run test screenshot bench fuzz native win clean

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

run: builder
	scripts/run-builder $(WIN)/qxbuilder.exe $(SAMPLE)

test: native win
	scripts/check-layers
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	scripts/with-display $(PREFIX_DIR) sh -c 'cd $(WIN) && ctest --output-on-failure -j $(JOBS)'

screenshot: win
	@scripts/install-deps screenshot
	scripts/with-display $(PREFIX_DIR) scripts/screenshot $(WIN) docs

bench:
	@scripts/install-deps bench
	@[ -f $(BENCHDIR)/build.ninja ] || cmake -S . -B $(BENCHDIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX_BENCH=ON -DQX_TESTS=OFF >/dev/null
	cmake --build $(BENCHDIR) -j $(JOBS)
	scripts/run-benchmarks $(BENCHDIR)
	@[ -f $(WINBENCH)/build.ninja ] || cmake -S . -B $(WINBENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
	cmake --build $(WINBENCH) -j $(JOBS) --target bench_test_command bench_palette_paint
	scripts/with-display $(PREFIX_DIR) sh -c 'scripts/wine-run $(WINBENCH)/tests/bench_test_command.exe 50 && \
		scripts/wine-run $(WINBENCH)/tests/bench_palette_paint.exe 1000 5 && \
		scripts/wine-run $(WINBENCH)/tests/bench_palette_paint.exe 10000 3'

fuzz: native
	scripts/run-fuzzers $(NATIVE) $${FUZZ_SECONDS:-60}

clean:
	rm -rf $(BUILD)
