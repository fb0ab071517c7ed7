# vk41-demo: the two commands are `make run` and `make test`; both install
# what is missing first.

BUILD      ?= build
BUILD_SAN  ?= build-asan
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

# Debian packages the build, the tests and the benchmarks need.
PACKAGES := g++ cmake ninja-build make pkg-config qt6-base-dev libgl-dev \
            libgtest-dev libgmock-dev libbenchmark-dev \
            fonts-liberation2 fonts-dejavu-core xvfb xauth xdotool \
            qt6-serialbus-dev libmodbus-dev mbpoll python3-pymodbus python3-serial-asyncio socat \
            tshark \
            qt6-charts-dev libqt6opengl6-dev

# What the fuzzers need beyond that: clang and its libFuzzer runtime.
FUZZ_PACKAGES := clang libclang-rt-14-dev
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps fuzz-deps install-missing build run test test-plain test-asan bench fuzz pictures package format ci clean

all: build

# Installs the packages that are not installed yet. A fresh machine has no
# package lists, so the lists are read before anything is installed.
deps:
	@$(MAKE) --no-print-directory install-missing LIST="$(PACKAGES)"

fuzz-deps:
	@$(MAKE) --no-print-directory install-missing LIST="$(FUZZ_PACKAGES)"

install-missing:
	@missing=""; for p in $(LIST); do \
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
	./$(BUILD)/vk41-bus-bench ./$(BUILD)/vk41-slave
	@# The real program's CPU use while the demonstration runs, on a virtual display.
	tests/e2e/e2e.sh $(BUILD) cpu 1366x768
	tests/e2e/e2e.sh $(BUILD) cpu 1920x1080 1.5
	@# The same with the plant running its program and the window "Тренды" open.
	tests/e2e/e2e.sh $(BUILD) trends 1366x768
	@# The trainer serving a master 1000 times a second with "Шина ModBus" open,
	@# and its answer time against vk41-slave's.
	tests/e2e/e2e.sh $(BUILD) bus 1366x768

# Each libFuzzer target for FUZZ_SECONDS, from the committed seeds; what it
# finds goes to a scratch corpus, and a crash stops with the input saved.
fuzz: deps fuzz-deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVK41_FUZZ=ON
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target fuzz-numbers fuzz-exchange fuzz-script fuzz-slave fuzz-host_port fuzz-rtu fuzz-program
	@for t in numbers exchange script slave host_port rtu program; do \
	  mkdir -p $(BUILD_FUZZ)/corpus-$$t && \
	  echo "fuzz-$$t: $(FUZZ_SECONDS) s" && \
	  ./$(BUILD_FUZZ)/fuzz-$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
	    -artifact_prefix=$(BUILD_FUZZ)/crash-$$t- $(BUILD_FUZZ)/corpus-$$t fuzz/corpus/$$t \
	    > $(BUILD_FUZZ)/fuzz-$$t.log 2>&1; status=$$?; \
	  tail -n 12 $(BUILD_FUZZ)/fuzz-$$t.log; [ $$status -eq 0 ] || exit 1; \
	done

# The description window's pictures and the README's screenshots, made anew
# from the program's own windows.
pictures: build
	tools/pictures/make_pictures.sh $(BUILD) resources/pictures docs

# A Debian package of the program in build/, installable with apt.
package: build
	cd $(BUILD) && cpack -G DEB

# What CI runs: the format check, `make test` on a fresh Debian 12, the fuzzers.
ci:
	.ci/run

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_SAN)
