# Quorrel: the two commands of the README, plus the pieces they are made of.
BUILD := build/cmake
# Host build of the pure units and their tests (native/CMakeLists.txt).
NATIVE := build/native
.PHONY: setup configure build native test run bench fuzz dist clean

setup:
	@scripts/bootstrap

configure: setup
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j$$(nproc) -- --no-print-directory

native: setup
	@[ -f $(NATIVE)/CMakeCache.txt ] || cmake -S native -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j$$(nproc) -- --no-print-directory

test: build native
	@ctest --test-dir $(NATIVE) --output-on-failure
	@scripts/with-wine ctest --test-dir $(BUILD) --output-on-failure -j2

# The tokeniser's libFuzzer target (clang), run for FUZZ_SECONDS per code page seed set.
FUZZ := build/fuzz
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/bootstrap fuzz
	@[ -f $(FUZZ)/CMakeCache.txt ] || CXX=clang++ cmake -S native -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUORREL_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ) -- --no-print-directory
	@mkdir -p $(FUZZ)/corpus && cp -n tests/fuzz/seeds/* $(FUZZ)/corpus/
	@$(FUZZ)/fuzz_command_line -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -artifact_prefix=$(FUZZ)/ \
	  $(FUZZ)/corpus >$(FUZZ)/last-run.log 2>&1; status=$$?; tail -n 12 $(FUZZ)/last-run.log; exit $$status

run: build
	@scripts/run-app $(ARGS)

bench: build
	@scripts/with-wine scripts/bench

# What Windows users download: build/dist/Quorrel-<version>.zip and Quorrel-<version>-setup.exe.
dist: build
	@dist/make-dist build/dist

clean:
	rm -rf build/cmake build/native build/fuzz build/bin build/dist
