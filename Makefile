# Quorrel: the two commands of the README, plus the pieces they are made of.
BUILD := build/cmake
# What `make run`, `make test` and `make dist` ship and show: the build tree writes them here.
BIN := build/bin
SCREENSHOTS := build/screenshots
# Host build of the pure units and their tests (native/CMakeLists.txt).
NATIVE := build/native
export BUILD BIN SCREENSHOTS
.PHONY: setup build native test run bench fuzz dist clean

# Checks in a few hundredths of a second that everything is installed; sets up what is missing.
setup:
	@scripts/bootstrap

# (Re)configured when not generated or when this file changed (for example its folders). Ninja: an
# up-to-date tree is checked in a tenth of a second. A tree of another generator is made anew.
$(BUILD)/build.ninja: Makefile | setup
	@if [ -f $(BUILD)/CMakeCache.txt ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' $(BUILD)/CMakeCache.txt; then \
	  echo "make: $(BUILD) was made for another build tool; making it anew"; rm -rf $(BUILD); fi
	@cmake -G Ninja --no-warn-unused-cli -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUORREL_BIN=$(CURDIR)/$(BIN) -DQUORREL_SCREENSHOTS=$(CURDIR)/$(SCREENSHOTS) >/dev/null

build: setup $(BUILD)/build.ninja
	@cmake --build $(BUILD)

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
	@dist/make-dist $(BUILD) build/dist

clean:
	rm -rf $(BUILD) $(NATIVE) $(FUZZ) $(BIN) build/dist
