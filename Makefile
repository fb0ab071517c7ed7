# vk41-demo: the two commands are `make run` and `make test`; both install
# what is missing first.

BUILD      ?= build
BUILD_SAN  ?= build-asan
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

# Debian packages the build, the tests and the benchmarks need.
PACKAGES := g++ cmake ninja-build make qt6-base-dev libgl-dev \
            libgtest-dev libgmock-dev libbenchmark-dev \
            fonts-liberation2 fonts-dejavu-core

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build run test test-plain test-asan bench package format clean

all: build

# Installs the packages that are not installed yet. A fresh machine has no
# package lists, so the lists are read before anything is installed.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	  echo "make run: no display (DISPLAY and WAYLAND_DISPLAY are unset); start it from a desktop session, or use build/vk41-script headless."; \
	  exit 1; \
	fi
	./$(BUILD)/vk41-demo

test: test-plain test-asan

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

$(BUILD_SAN)/build.ninja: | deps
	cmake -S . -B $(BUILD_SAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVK41_SANITIZE=ON

# The same suite under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps $(BUILD_SAN)/build.ninja
	cmake --build $(BUILD_SAN) -j $(JOBS)
	cd $(BUILD_SAN) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD)/vk41-bench

# A Debian package of the program in build/, installable with apt.
package: build
	cd $(BUILD) && cpack -G DEB

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_SAN)
