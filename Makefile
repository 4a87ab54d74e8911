# Quorrel: the two commands of the README, plus the pieces they are made of.
BUILD := build/cmake
# Host build of the pure units and their tests (native/CMakeLists.txt).
NATIVE := build/native
.PHONY: setup configure build native test run bench clean

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

run: build
	@scripts/run-app

bench: build
	@scripts/with-wine scripts/bench

clean:
	rm -rf build/cmake build/native build/bin
