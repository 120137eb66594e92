# Quenmarsh: `make run` to play, `make test` to run every test, `make deb` for a Debian package,
# `make windows` for the Windows zip, `make web` for the browser's, `make play-web` to play that.
# Each installs what it is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
WINDOWS_BUILD ?= build-windows
WEB_BUILD  ?= build-web
JOBS       ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Emscripten's prebuilt system libraries live in its shared cache, which a private EM_CACHE
# would not find.
unexport EM_CACHE

# The sub-makes of `cmake --build` would otherwise announce every directory they enter.
MAKEFLAGS += --no-print-directory

.PHONY: all deps test-deps package-deps windows-deps web-deps windows-libs web-libs check-packages build test-build run test native-test native-ctest sanitize windows windows-test web web-test play-web bench web-bench deb clean

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

# Every program run here comes from a package that debian/control or packages.txt names, once
# every group `make test` needs is installed.
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

# Three suites, side by side (make -j3), each failing alone (-k): the unit tests and one played
# game under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer, then the whole
# native suite (unit, drawing, fuzzing, end to end); the Windows build under Wine; the web build in
# Chromium, WebKit and Firefox. The Windows and web libraries build from the start, at the lowest priority,
# on the CPU that the native build leaves idle and that the tests, which mostly wait on real time,
# do not use; so do the cross builds of the game once their libraries and the native build are
# done. The web libraries, the longer build, go first: the Windows ones run in the idle class,
# below even them (the libraries' PRIORITY below). The suites' tests take turns (TAKE_TURNS), so
# that no two run at once: the native suite first, its sanitizer build included, then whichever
# other suite is built first.
# Each suite installs what it needs as it starts; once all have run, the package check.
test: test-deps
	@$(MAKE) -k -j3 native-test windows-test web-test; suites=$$?; \
	$(MAKE) check-packages || exit 1; \
	[ $$suites -eq 0 ] || { echo "make test: a suite failed (above)"; exit 1; }; \
	echo "make test: every suite passed"

# A test run that waits for no other to be running: the prefix of its command.
TAKE_TURNS = mkdir -p $(CURDIR)/$(BUILD) && flock $(CURDIR)/$(BUILD)/tests.lock

# One turn for the sanitizer run and the whole native suite after it (native-ctest, which takes
# no turn of its own).
native-test: test-build
	$(TAKE_TURNS) $(MAKE) native-ctest

native-ctest: sanitize
	cd $(BUILD) && ctest --output-on-failure --timeout 600

# The Windows and browser builds: $(WINDOWS_BUILD)/Quenmarsh-<version>-windows-x64.zip, cross-built
# with MinGW-w64, and $(WEB_BUILD)/Quenmarsh-<version>-web.zip, built with Emscripten. Each takes
# data/ and the icon from the native build, and its static libraries from packaging/deps/, built
# with the same toolchain into <tree>/deps/prefix (or from WINDOWS_LIBS or WEB_LIBS, a prefix
# built elsewhere, which is then used as it is).
CROSS = windows web
windows_TREE = $(WINDOWS_BUILD)
web_TREE = $(WEB_BUILD)
windows_CMAKE = cmake -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/packaging/windows/mingw-w64.cmake
web_CMAKE = emcmake cmake
WINDOWS_LIBS ?= $(CURDIR)/$(WINDOWS_BUILD)/deps/prefix
WEB_LIBS ?= $(CURDIR)/$(WEB_BUILD)/deps/prefix
windows_LIBS = $(WINDOWS_LIBS)
web_LIBS = $(WEB_LIBS)
windows_PRIORITY = chrt --idle 0
web_PRIORITY = nice -n 19
# Emscripten's tools need Debian's acorn module.
web web-libs web-test play-web: export NODE_PATH = /usr/share/nodejs

# The libraries, with a line at least every 30 s naming the steps at work (the two whose logs in
# <tree>/deps/logs grew last, within the last minute).
$(CROSS:%=%-libs): %-libs: %-deps
	@if [ "$($*_LIBS)" != "$(CURDIR)/$($*_TREE)/deps/prefix" ]; then echo "$* libraries: $($*_LIBS)"; exit 0; fi; \
	$($*_CMAKE) -S packaging/deps -B $($*_TREE)/deps >/dev/null || exit 1; \
	start=$$(date +%s); \
	(while sleep 30; do \
	    echo "[$$(( $$(date +%s) - start )) s] $* libraries at work:" \
	        $$(find $($*_TREE)/deps/logs -mmin -1 -name '*.log' -printf '%T@ %f\n' | sort -rn | head -2 | \
	           sed 's/.* \(.*\)\.log$$/\1/'); \
	done) & ticker=$$!; \
	$($*_PRIORITY) cmake --build $($*_TREE)/deps -j $(JOBS); status=$$?; \
	kill $$ticker; exit $$status

cross_configure = $($*_CMAKE) -S . -B $($*_TREE) -DCMAKE_BUILD_TYPE=Release -DQUENMARSH_DEPS_PREFIX=$($*_LIBS) \
	-DQUENMARSH_NATIVE_BUILD=$(CURDIR)/$(BUILD)

$(CROSS): %: %-libs build
	$(cross_configure) $(TEST_FLAGS)
	nice -n 19 cmake --build $($*_TREE) -j $(JOBS) --target quenmarsh $*-zip

# The zip built with its tests, which then run: the Windows build's under Wine in their own Xvfb
# and prefix, the browser's in Chromium, WebKit and Firefox and (the unit tests) under Node.js. The
# end-to-end tests run alone (RUN_SERIAL), the others JOBS at a time.
$(CROSS:%=%-test): %-test: %-libs test-build
	$(cross_configure) -DQUENMARSH_TESTS=ON
	nice -n 19 cmake --build $($*_TREE) -j $(JOBS)
	cd $($*_TREE) && $(TAKE_TURNS) ctest -j $(JOBS) --output-on-failure --timeout 600

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
	$(MAKE) windows TEST_FLAGS=-DQUENMARSH_TESTS=ON
	$(MAKE) web TEST_FLAGS=-DQUENMARSH_TESTS=ON
	./tools/soak.sh $(SOAK_RUNS) $(BUILD) $(WINDOWS_BUILD) $(WEB_BUILD)

# Microseconds per care tick, then the whole game screen by screen: CPU, GL draw calls per frame,
# memory and ticks, against a bare loop and a program drawing the map alone.
bench: test-build
	$(BUILD)/tests/bench/care_bench --benchmark_min_time=1
	cd $(BUILD) && python3 ../tests/bench/game_bench.py ./quenmarsh ./tests/bench/bare_loop ./tests/bench/gl_count.so 10

# How soon the browser game answers: WEB_BENCH_RUNS cold loads of the web zip in headless Chromium,
# each time against its goal, and the bytes fetched before the first dialog; WEB_BENCH_ALSO names
# other builds' zip folders to measure beside it. Not part of `make test`. Debian's python3, which
# has Selenium.
WEB_BENCH_RUNS ?= 5
web-bench: web
	$(TAKE_TURNS) /usr/bin/python3 tests/bench/web_bench.py $(WEB_BENCH_RUNS) $(WEB_BUILD)/zip $(WEB_BENCH_ALSO)

# build/quenmarsh_<version>_<arch>.deb and the source package (quenmarsh_<version>.dsc and its
# tarball), built by dpkg-buildpackage from debian/. It writes its results beside the folder it
# builds, so it builds a copy of exactly the files git tracks (as they are in the working tree),
# cleaned again afterwards.
DEB_SOURCE = $(BUILD)/debian-source/quenmarsh
deb: package-deps
	rm -rf $(dir $(DEB_SOURCE)) && mkdir -p $(DEB_SOURCE)
	git ls-files -z | tar -c --null -T - | tar -x -C $(DEB_SOURCE)
	cd $(DEB_SOURCE) && DEB_BUILD_OPTIONS=parallel=$(JOBS) nice -n 10 dpkg-buildpackage -us -uc --post-clean
	mv $(addprefix $(dir $(DEB_SOURCE))quenmarsh_*,.deb .dsc .tar.xz) $(BUILD)/

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD) $(WEB_BUILD)
