# Set-up, build and test on Debian 12. `make run` and `make test` install what
# is missing (apt-get, non-interactive), build, and run.

PRESET ?= default
BUILD_DIR := build/$(PRESET)

# Debian packages the build, the tests and the program need.
PACKAGES := cmake ninja-build g++ make \
	qt6-base-dev qt6-qpa-plugins libgl-dev \
	libgtest-dev libgmock-dev libbenchmark-dev \
	fonts-noto-cjk fontconfig \
	dpkg-dev file desktop-file-utils appstream \
	libcups2-dev cups cups-client printer-driver-cups-pdf poppler-utils \
	libqpdf-dev

# What the deeper checks (fuzzing, sanitizers, static analysis) need besides.
DEEP_PACKAGES := clang libclang-rt-14-dev clang-tidy cppcheck clang-format

FUZZ_SECONDS ?= 60

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps deps-deep configure build run test bench fuzz asan static-analysis check-deep package package-check clean

all: build

# Installs only what dpkg does not report as installed; quiet and quick when
# nothing is missing.
deps: PACKAGE_LIST = $(PACKAGES)
deps-deep: PACKAGE_LIST = $(PACKAGES) $(DEEP_PACKAGES)
deps deps-deep:
	@missing=""; \
	for p in $(PACKAGE_LIST); do \
		dpkg-query -W -f='$${Status}' "$$p" 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -q && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	fi

$(BUILD_DIR)/build.ninja: CMakeLists.txt CMakePresets.json | deps
	cmake --preset $(PRESET)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build --preset $(PRESET)

run: build
	$(BUILD_DIR)/app/hcalc

test: build
	ctest --preset $(PRESET)

# libFuzzer targets (clang, ASan, UBSan), each run for FUZZ_SECONDS.
fuzz: deps-deep
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzzers $(FUZZ_SECONDS)

# The whole test suite built with AddressSanitizer, UndefinedBehaviorSanitizer
# and leak checking.
asan: deps-deep
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# Formatting, clang-tidy and cppcheck over the whole tree.
static-analysis: deps-deep build
	scripts/static-analysis

# Everything deeper than make test: fuzzing, sanitizers, static analysis.
check-deep: fuzz asan static-analysis

# The Debian package, built in its own release tree: build/package/hcalc_*.deb
package: deps
	cmake --preset package
	cmake --build --preset package
	cpack --preset package

# Installs the built package on this machine, starts the installed program
# offscreen, checks that it comes up and quits cleanly, and removes it again.
package-check: package
	.ci/package-check

# The search benchmarks (some seconds for the literal search), not part of `make test`.
bench: build
	$(BUILD_DIR)/bench/hcalc_bench

clean:
	rm -rf build
