# Quenmarsh: `make run` to play, `make test` to run every test, `make deb` for a Debian package,
# `make windows` for the Windows zip, `make web` for the browser's, `make play-web` to play that.
# Each installs what it is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
WINDOWS_BUILD ?= build-windows
WEB_BUILD  ?= build-web
JOBS       ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The sub-makes of `cmake --build` would otherwise announce every directory they enter.
MAKEFLAGS += --no-print-directory

.PHONY: all deps test-deps package-deps windows-deps web-deps check-packages build test-build run test sanitize windows windows-test web web-test play-web bench deb clean

all: build

# What building and playing need; the test tools come only with `make test`.
deps:
	@./tools/install-deps.sh build

# The tests build the package and check it, so they need the packaging tools as well.
test-deps:
	@./tools/install-deps.sh build package test

package-deps:
	@./tools/install-deps.sh build package

windows-deps:
	@./tools/install-deps.sh build windows

web-deps:
	@./tools/install-deps.sh build web

# Every program run here comes from a package that packages.txt names; Build-Depends agrees.
# `make test` needs every group, installed in one go.
check-packages:
	@./tools/install-deps.sh build package test windows web
	@python3 tools/check-packages.py

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

test-build: test-deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DQUENMARSH_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./quenmarsh

# The unit tests and one played game under AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer, then the whole suite (unit, drawing, fuzzing, end to end) on the normal build,
# then the Windows build under Wine and the web build in headless Chromium.
# The native tests mostly wait on real time, so meanwhile the Windows and web libraries build in
# the background at the lowest priority, on the CPU the tests leave idle. Each is waited for
# before its own tests, whose build then finds it up to date (or builds it again and shows why
# it failed). A failing suite does not stop the others; `make test` fails if any did.
test: check-packages test-build sanitize
	@nice -n 19 ./packaging/build-deps.sh windows $(WINDOWS_BUILD)/deps & windows=$$!; \
	nice -n 19 ./packaging/build-deps.sh web $(WEB_BUILD)/deps & web=$$!; \
	(cd $(BUILD) && ctest --output-on-failure --timeout 600); native=$$?; \
	wait $$windows; $(MAKE) windows-test; windows=$$?; \
	wait $$web; $(MAKE) web-test; web=$$?; \
	echo "make test: native $$native, Windows $$windows, web $$web (0 is a pass)"; \
	[ $$native -eq 0 ] && [ $$windows -eq 0 ] && [ $$web -eq 0 ]

# $(WINDOWS_BUILD)/Quenmarsh-<version>-windows-x64.zip: the libraries from third_party/ (once per build
# tree), then the game cross-built with MinGW-w64, with data/ from the native build.
windows: windows-deps build
	./packaging/build-deps.sh windows $(WINDOWS_BUILD)/deps
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=packaging/windows/mingw-w64.cmake \
	  -DQUENMARSH_DEPS_PREFIX=$(CURDIR)/$(WINDOWS_BUILD)/deps/prefix \
	  -DQUENMARSH_NATIVE_BUILD=$(CURDIR)/$(BUILD) $(WINDOWS_TEST_FLAGS)
	nice -n 10 cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target quenmarsh windows-zip

# The Windows zip built with its tests, which run under Wine in their own Xvfb and prefix.
windows-test: WINDOWS_TEST_FLAGS = -DQUENMARSH_TESTS=ON
windows-test: test-build windows
	nice -n 10 cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	cd $(WINDOWS_BUILD) && ctest --output-on-failure --timeout 600

# $(WEB_BUILD)/Quenmarsh-<version>-web.zip: the libraries from third_party/ built with Emscripten
# (once per build tree), then the game, with data/ from the native build. Emscripten's tools
# need Debian's acorn module.
web: export NODE_PATH = /usr/share/nodejs
web: web-deps build
	./packaging/build-deps.sh web $(WEB_BUILD)/deps
	emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  -DQUENMARSH_DEPS_PREFIX=$(CURDIR)/$(WEB_BUILD)/deps/prefix \
	  -DQUENMARSH_NATIVE_BUILD=$(CURDIR)/$(BUILD) $(WEB_TEST_FLAGS)
	nice -n 10 cmake --build $(WEB_BUILD) -j $(JOBS) --target quenmarsh web-zip

# The web zip with its tests: the game in headless Chromium, the unit tests under Node.js.
web-test: export NODE_PATH = /usr/share/nodejs
web-test: WEB_TEST_FLAGS = -DQUENMARSH_TESTS=ON
web-test: test-build web
	nice -n 10 cmake --build $(WEB_BUILD) -j $(JOBS)
	cd $(WEB_BUILD) && ctest --output-on-failure --timeout 600

# Serves the web zip's folder on this computer only, and prints the address to open.
play-web: web
	./tools/serve_web.py $(WEB_BUILD)/zip

sanitize: test-deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUENMARSH_SANITIZE=ON -DQUENMARSH_TESTS=ON -DQUENMARSH_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --output-on-failure -L "unit|leaks"

# The end-to-end suites, natively, under Wine and in the browser, each SOAK_RUNS times over
# while the whole machine is kept busy at normal priority (tools/soak.sh): what they wait on
# must be states, not times. Not part of `make test`. Builds first, unloaded.
.PHONY: soak
SOAK_RUNS ?= 3
soak: test-build
	@./tools/install-deps.sh soak
	$(MAKE) windows WINDOWS_TEST_FLAGS=-DQUENMARSH_TESTS=ON
	$(MAKE) web WEB_TEST_FLAGS=-DQUENMARSH_TESTS=ON
	./tools/soak.sh $(SOAK_RUNS) $(BUILD) $(WINDOWS_BUILD) $(WEB_BUILD)

# Microseconds per care tick, then the whole game screen by screen: CPU, GL draw calls per frame,
# memory and ticks, against a bare loop and a program drawing the map alone.
bench: test-build
	$(BUILD)/tests/bench/care_bench --benchmark_min_time=1
	cd $(BUILD) && python3 ../tests/bench/game_bench.py ./quenmarsh ./tests/bench/bare_loop ./tests/bench/gl_count.so 10

# build/quenmarsh_<version>_<arch>.deb, built from debian/ by dpkg-buildpackage. It writes its
# results beside the tree it builds, so it builds a copy of the sources (without build trees).
DEB_SOURCE = $(BUILD)/debian-source/quenmarsh
deb: package-deps
	rm -rf $(dir $(DEB_SOURCE)) && mkdir -p $(DEB_SOURCE)
	tar -c --exclude-vcs --exclude-tag-all=CMakeCache.txt --exclude=./$(BUILD) . | tar -x -C $(DEB_SOURCE)
	cd $(DEB_SOURCE) && DEB_BUILD_OPTIONS=parallel=$(JOBS) nice -n 10 dpkg-buildpackage -b -us -uc
	mv $(dir $(DEB_SOURCE))quenmarsh_*.deb $(BUILD)/

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD) $(WEB_BUILD)
