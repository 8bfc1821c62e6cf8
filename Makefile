# Set-up, build and test on Debian 12. `make run` and `make test` install what
# is missing (apt-get, non-interactive), build, and run.

PRESET ?= default
BUILD_DIR := build/$(PRESET)

# Debian packages the build, the tests and the program need.
PACKAGES := cmake ninja-build g++ make \
	qt6-base-dev qt6-qpa-plugins libgl-dev \
	libgtest-dev libgmock-dev libbenchmark-dev libmpfr-dev \
	fonts-noto-cjk fontconfig \
	dpkg-dev file desktop-file-utils appstream \
	libcups2-dev cups cups-client printer-driver-cups-pdf poppler-utils \
	libqpdf-dev

# What the package check needs besides: the MIME and desktop databases and
# what queries them as a file manager does (xdg-mime, with File::MimeInfo's
# mimetype for the file's type), and a virtual X display with xdotool to see
# the installed program's window.
PACKAGE_CHECK_PACKAGES := shared-mime-info xdg-utils libfile-mimeinfo-perl xvfb xauth xdotool

# What the deeper checks (fuzzing, sanitizers, static analysis) need besides.
DEEP_PACKAGES := clang libclang-rt-14-dev clang-tidy cppcheck clang-format

# The arm64 cross-build and what runs its tests (qemu-user), through dpkg multiarch.
ARM64_PACKAGES := crossbuild-essential-arm64 qemu-user \
	qt6-base-dev:arm64 qt6-qpa-plugins:arm64 libgl-dev:arm64 \
	libgtest-dev:arm64 libgmock-dev:arm64 libmpfr-dev:arm64 libcups2-dev:arm64 libqpdf-dev:arm64

# 32-bit x86 (the number engine and its tests, portable arithmetic), through
# dpkg multiarch; what configures the whole project for it.
I386_PACKAGES := crossbuild-essential-i386 \
	qt6-base-dev:i386 libgl-dev:i386 libgtest-dev:i386 libgmock-dev:i386 libmpfr-dev:i386 \
	libcups2-dev:i386 libqpdf-dev:i386

# Windows x86-64: Debian's MinGW-w64 cross compiler (posix threads), Qt's host
# tools, GoogleTest's sources, wine64 to run the tests, NSIS for the installer;
# Xvfb and xdotool to see the installed program's window.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix mingw-w64-tools qt6-base-dev-tools googletest wine64 nsis \
	xz-utils curl xvfb xauth xdotool

# Qt for Windows, built from Debian's own qtbase source by scripts/build-qt-mingw
# (about 50 minutes on two cores), kept in a cache outside the work tree. Where
# the ready build of that recipe is at hand (QT_MINGW_READY), it is unpacked instead.
QT_MINGW_CACHE ?= /var/cache/hcalc
QT_MINGW := $(QT_MINGW_CACHE)/qt6-mingw
QT_MINGW_READY ?= $(wildcard $(CURDIR)/../shared/windows/qt-6.4.2-mingw-x86_64.tar.xz)

FUZZ_SECONDS ?= 60

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps deps-deep deps-package-check deps-arm64 deps-i386 deps-windows configure build run test \
	test-portable test-release test-arm64 test-i386 \
	qt-mingw configure-windows test-windows package-windows package-check-windows stop-wine bench fuzz asan \
	static-analysis check-deep package package-check clean

all: build

# Installs only what dpkg does not report as installed; quiet and quick when
# nothing is missing.
deps: PACKAGE_LIST = $(PACKAGES)
deps-deep: PACKAGE_LIST = $(PACKAGES) $(DEEP_PACKAGES)
deps-package-check: PACKAGE_LIST = $(PACKAGES) $(PACKAGE_CHECK_PACKAGES)
deps-arm64: PACKAGE_LIST = $(PACKAGES) $(ARM64_PACKAGES)
deps-i386: PACKAGE_LIST = $(PACKAGES) $(I386_PACKAGES)
deps-windows: PACKAGE_LIST = $(PACKAGES) $(WINDOWS_PACKAGES)
deps deps-deep deps-package-check deps-arm64 deps-i386 deps-windows:
	@arch=$$(case "$@" in deps-arm64) echo arm64;; deps-i386) echo i386;; esac); \
	if [ -n "$$arch" ] && ! dpkg --print-foreign-architectures | grep -qx "$$arch"; then \
		$(SUDO) dpkg --add-architecture "$$arch"; \
	fi; \
	missing=""; \
	for p in $(PACKAGE_LIST); do \
		dpkg-query -W -f='$${Status}' "$$p" 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -q && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends --no-remove $$missing; \
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
# and leak checking, by clang (so a clang build of the whole program is
# checked too) and with the portable extended arithmetic (GNU MPFR): the suite
# runs on both backends in CI, the native one in make test. The native
# backend's code is sanitized here too: its side-by-side test with the
# portable one is part of the suite.
asan: deps-deep
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# The whole test suite again with the portable extended arithmetic (GNU MPFR)
# forced, on this x86-64 machine.
test-portable: deps
	cmake --preset portable
	cmake --build --preset portable
	ctest --preset portable

# A Release build with the tests, as a packager makes it (with our warnings):
# the package's own build tree, with the tests added, so that the program
# packaged afterwards is the one tested.
test-release: deps
	cmake --preset package -DHCALC_BUILD_TESTS=ON
	cmake --build --preset package
	ctest --test-dir build/package --output-on-failure -j 2 --timeout 600

# Cross-built for arm64 and the whole test suite run under qemu-user.
test-arm64: deps-arm64
	cmake --preset arm64
	cmake --build --preset arm64
	ctest --preset arm64

# The number engine cross-built for 32-bit x86 (no unsigned __int128 there:
# the portable arithmetic) and its tests run on this machine.
test-i386: deps-i386
	cmake --preset i386
	cmake --build --preset i386
	ctest --preset i386

# Qt for Windows in its cache: the ready build unpacked (its checksum checked),
# or built with the recipe where there is none.
qt-mingw: $(QT_MINGW)/lib/cmake/Qt6/Qt6Config.cmake
$(QT_MINGW)/lib/cmake/Qt6/Qt6Config.cmake: | deps-windows
	$(SUDO) mkdir -p $(QT_MINGW_CACHE)
	if [ -n "$(QT_MINGW_READY)" ]; then \
		cd "$(dir $(QT_MINGW_READY))" && sha256sum --quiet -c SHA256SUMS && \
		$(SUDO) tar -C $(QT_MINGW_CACHE) -xf "$(QT_MINGW_READY)"; \
	else \
		$(SUDO) scripts/build-qt-mingw $(QT_MINGW) $(QT_MINGW_CACHE)/qt-build && $(SUDO) rm -rf $(QT_MINGW_CACHE)/qt-build; \
	fi
	test -f $@

configure-windows: deps-windows qt-mingw
	cmake --preset windows -DHCALC_QT_MINGW_PREFIX=$(QT_MINGW)

# Cross-built for Windows x86-64 (a Release build with the tests, the tree that
# is packaged) and the whole test suite run under wine64, offscreen.
test-windows: configure-windows
	status=0; { cmake --build --preset windows && ctest --preset windows; } || status=$$?; \
	$(MAKE) --no-print-directory stop-wine; exit $$status

# The Windows installer and zip, from the tree that test-windows tests:
# build/windows/hcalc-<version>-win64-setup.exe and hcalc-<version>-win64.zip
package-windows: configure-windows
	status=0; cmake --build --preset windows --target hcalc windows_package || status=$$?; \
	$(MAKE) --no-print-directory stop-wine; exit $$status

# Installs that setup silently under wine (for the current user, then for all
# users), starts the installed program with Qt's windows platform on a virtual
# display, checks that its window comes up and that it quits cleanly when
# asked to close, and uninstalls it again.
package-check-windows: package-windows
	status=0; .ci/package-check-windows || status=$$?; $(MAKE) --no-print-directory stop-wine; exit $$status

# Ends the wine servers of the build's prefixes, which stay for the next
# program until told to end (cmake/wine-run.in).
stop-wine:
	@for prefix in build/windows/wine*/; do \
		[ ! -d "$$prefix" ] || WINEPREFIX="$(CURDIR)/$$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; \
	done

# Formatting and cppcheck over the whole tree, clang-tidy over the program's
# own code.
static-analysis: deps-deep build
	scripts/static-analysis

# Everything deeper than make test: fuzzing, the sanitizers with the portable
# arithmetic, static analysis.
check-deep: fuzz asan static-analysis

# The Debian package, built in its own release tree: build/package/hcalc_*.deb
package: deps
	cmake --preset package
	cmake --build --preset package
	cpack --preset package

# Installs the built package on this machine, checks the design files' MIME
# type and the program that opens them, starts the installed program
# offscreen, checks that it comes up and quits cleanly, opens a design file
# with it on a virtual display, and removes it again.
package-check: package | deps-package-check
	.ci/package-check

# The search benchmarks (some seconds for the literal search), not part of
# `make test`; then the whole click again, built with the portable arithmetic.
bench: build
	$(BUILD_DIR)/bench/hcalc_bench
	cmake --preset portable
	cmake --build --preset portable --target hcalc_bench
	build/portable/bench/hcalc_bench --benchmark_filter=WholeClick

clean:
	rm -rf build
