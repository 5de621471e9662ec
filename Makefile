# Top-level driver: `make test` and `make demo` work on a fresh Debian machine.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
# Builds in several checkouts share one compiler cache (paths are taken relative to the checkout).
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

# Debian packages the project builds, tests and runs with.
DEB_PACKAGES := g++ cmake make pkg-config \
	libgtest-dev libgmock-dev libbenchmark-dev \
	libfreetype-dev libfontconfig-dev fonts-nanum libpng-dev \
	libsqlite3-dev libhangul-dev binutils-mingw-w64-x86-64 \
	libsdl2-dev xvfb xauth clang libclang-rt-14-dev valgrind ccache \
	g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64

.PHONY: all deps configure build test conformance-win32 demo bench sanitize fuzz memcheck soak win32 mutate clean

# The Win32 side of the conformance suite: its programs built with mingw-w64 in the project's Win32 build,
# run by ctest under Wine.
MINGW_CXX   := x86_64-w64-mingw32-g++-posix
WINE        := $(firstword $(wildcard /usr/lib/wine/wine64) $(shell command -v wine64 2>/dev/null))

all: build

deps:
	@missing=$$(for p in $(DEB_PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing missing packages:" $$missing; \
		SUDO=; [ "$$(id -u)" = 0 ] || SUDO=sudo; \
		$$SUDO apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build conformance-win32
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Builds the two Win32 conformance programs (and the DLLs they load) in build-win32/ when the cross compiler and
# Wine are there, and tells the cehost build where they are; otherwise says why the Win32 side is skipped
# (ctest then lists it as skipped too).
conformance-win32: build
	@reason=; \
	command -v $(MINGW_CXX) >/dev/null || reason="$(MINGW_CXX) is not installed (make deps installs it)"; \
	[ -n "$(WINE)" ] || reason="wine64 is not installed (make deps installs it)"; \
	command -v xvfb-run >/dev/null || reason="xvfb-run is not installed (make deps installs it)"; \
	if [ -z "$$reason" ]; then \
		cmake -S . -B build-win32 -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
			-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchains/mingw-w64-x86_64.cmake >/dev/null && \
		cmake --build build-win32 -j $(JOBS) --target conformance conformance_library && \
		cmake -S . -B $(BUILD) -DLX_CONFORMANCE_WIN32=$(CURDIR)/build-win32/bin/conformance.exe \
			-DLX_CONFORMANCE_LIBRARY_WIN32=$(CURDIR)/build-win32/bin/conformance_library.exe \
			-DLX_CONFORMANCE_SKIP= >/dev/null; \
	else \
		echo "Win32 conformance skipped: $$reason"; \
		cmake -S . -B $(BUILD) -DLX_CONFORMANCE_WIN32= -DLX_CONFORMANCE_LIBRARY_WIN32= \
			-DLX_CONFORMANCE_SKIP="$$reason" >/dev/null; \
	fi

demo: build
	@cmake --build $(BUILD) --target demo

bench: build
	@cmake --build $(BUILD) --target run-benchmarks

# Address and undefined-behaviour sanitizers over the whole test suite.
sanitize:
	@$(MAKE) test BUILD=build-asan BUILD_TYPE=Debug CMAKE_ARGS="-DLX_SANITIZE=address,undefined"

FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 1
fuzz: deps
	@cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
		-DLX_FUZZ=ON -DLX_FUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzzers
	@rm -f build-fuzz/fuzz-summary.md
	@status=0; cmake --build build-fuzz --target run-fuzzers -j $(FUZZ_JOBS) -- -k || status=1; \
	echo; echo "| target | CPU s | wall s | executions | per CPU s | coverage | corpus before -> after | peak RSS | result |"; \
	echo "|---|---|---|---|---|---|---|---|---|"; cat build-fuzz/fuzz-summary.md; exit $$status

# The library, the menu bar and the hello example for desktop Win32 (mingw-w64, x86_64) in build-win32/, and the
# library once more for 32-bit Win32 in build-win32-i686/, compiled and linked only, to catch pointer-size slips.
win32: deps
	@cmake -S . -B build-win32 -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchains/mingw-w64-x86_64.cmake >/dev/null
	@cmake --build build-win32 -j $(JOBS)
	@cmake -S . -B build-win32-i686 -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchains/mingw-w64-i686.cmake >/dev/null
	@cmake --build build-win32-i686 -j $(JOBS)
	@echo "Win32 (x86_64): $(CURDIR)/build-win32/bin/ holds LxLibrary.dll, LxMenuBar.dll, HelloKeypad.exe," \
		"KeypadNotebook.exe and the compiler's runtime DLLs"
	@echo "Win32 (i686, built to check, not run): $(CURDIR)/build-win32-i686/bin/"

# A seeded random walk of 10,000 keys through the showcase (SEED=n replays one; the default is new each time).
# A failure prints its seed and key and leaves the walk as a key script in $(BUILD)/soak-failed.keys.
SEED ?= $(shell date +%s)
KEYS ?= 10000
soak: configure
	@cmake --build $(BUILD) -j $(JOBS) --target notebook_soak
	@$(BUILD)/bin/notebook_soak --seed $(SEED) --keys $(KEYS) --script-out $(BUILD)/soak-failed.keys

# The showcase's key-script walk under valgrind memcheck: any error or definitely lost block fails it.
memcheck: configure
	@cmake --build $(BUILD) -j $(JOBS) --target KeypadNotebook
	@rm -rf $(BUILD)/memcheck && mkdir -p $(BUILD)/memcheck/shots
	@LXEDB_DIR=$(CURDIR)/$(BUILD)/memcheck CEHOST_REGISTRY=$(CURDIR)/$(BUILD)/memcheck/registry.db \
		valgrind --tool=memcheck --error-exitcode=9 --leak-check=full --show-leak-kinds=definite \
		--errors-for-leak-kinds=definite --num-callers=30 --suppressions=tools/memcheck.supp \
		$(BUILD)/bin/KeypadNotebook --headless --script examples/notebook/notebook.keys \
		--shots $(BUILD)/memcheck/shots --time-limit 600000 \
		|| { echo "memcheck: errors or leaks in the notebook's key-script walk (see above)"; exit 1; }
	@echo "memcheck: no errors and no definite leaks in the notebook's key-script walk"

# Plants a fixed list of faults in the library and the platform one at a time (tools/mutate/mutations.ini),
# rebuilds what each touches in build-mutate/ and runs the tests that guard it; prints killed/total.
mutate: deps
	@$(MAKE) --no-print-directory deps DEB_PACKAGES=python3
	@python3 tools/mutate/mutate.py --jobs $(JOBS)

clean:
	rm -rf build build-asan build-fuzz build-win32 build-win32-i686 build-mutate out
