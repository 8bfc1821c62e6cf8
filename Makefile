# Set-up, build and test on Debian 12. `make run` and `make test` install what
# is missing (apt-get, non-interactive), build, and run.

PRESET ?= default
BUILD_DIR := build/$(PRESET)

# Debian packages the build, the tests and the program need.
PACKAGES := cmake ninja-build g++ make \
	qt6-base-dev qt6-qpa-plugins libgl-dev \
	libgtest-dev libgmock-dev libbenchmark-dev \
	fonts-noto-cjk fontconfig

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test bench clean

all: build

# Installs only what dpkg does not report as installed; quiet and quick when
# nothing is missing.
deps:
	@missing=""; \
	for p in $(PACKAGES); do \
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

# The search benchmarks (some seconds for the literal search), not part of `make test`.
bench: build
	$(BUILD_DIR)/bench/hcalc_bench

clean:
	rm -rf build
