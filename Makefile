# Quenmarsh: `make run` to play, `make test` to run every test. Both install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build run test unit-asan bench clean

all: build

deps:
	@./tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./quenmarsh

# The unit tests once more under AddressSanitizer and UndefinedBehaviorSanitizer, then the
# whole suite (unit, drawing, end to end) on the normal build.
test: build unit-asan
	cd $(BUILD) && ctest --output-on-failure --timeout 600

unit-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUENMARSH_SANITIZE=ON -DQUENMARSH_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -L unit

bench: build
	cd $(BUILD) && ./tests/bench/run-bench.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
