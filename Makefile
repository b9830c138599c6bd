# Set-up and everyday commands. `make test` and `make run` install what is missing (as root),
# configure, build and then test or run.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

PACKAGES := build-essential cmake pkg-config libsdl2-dev libgl-dev libgl1-mesa-dri libegl1 libegl-dev \
            libpng-dev libjpeg62-turbo-dev zlib1g-dev liblzo2-dev libsndfile1-dev libmpv-dev \
            libassimp-dev libgtest-dev libgmock-dev libbenchmark-dev python3 curl xdg-utils \
            clang-14 libfuzzer-14-dev libclang-rt-14-dev

.PHONY: all deps configure build test run bench sanitize fuzz format clean install

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:" $$missing; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing packages. Install them with:"; \
	    echo "  sudo apt-get install -y $$missing"; exit 1; \
	  fi; \
	fi

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	$(BUILD_ENV) cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# Without a display the scene runs head-less for RUN_FRAMES frames and leaves a capture of the
# last one; on a desktop it runs full screen until Escape.
RUN_FRAMES ?= 120
RUN_CAPTURE ?= $(abspath $(BUILD))/tile_scene_capture.png

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ "$$VEXEL_VIDEO" != offscreen ]; then \
	  cd $(BUILD)/games/tile_scene && ./tile_scene; \
	else \
	  echo "No display: running the tile scene head-less for $(RUN_FRAMES) frames"; \
	  rm -f $(RUN_CAPTURE); \
	  cd $(BUILD)/games/tile_scene && VEXEL_VIDEO=offscreen VEXEL_AUDIO=null VEXEL_FIXED_FRAME_MS=16 \
	    VEXEL_MAX_FRAMES=$(RUN_FRAMES) VEXEL_CAPTURE=$(RUN_FRAMES):$(RUN_CAPTURE) ./tile_scene && \
	  if [ -s $(RUN_CAPTURE) ]; then echo "Capture of frame $(RUN_FRAMES): $(RUN_CAPTURE)"; \
	  else echo "No capture was written (see ErrorLog.txt in $${TMPDIR:-/tmp})"; exit 1; fi; \
	fi

# The library, its headers, the package config and the tools only: no tests, benchmarks or games.
PREFIX ?= /usr/local
install: deps
	cmake -S . -B $(BUILD)-install -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX) \
	  -DVEXEL_BUILD_TESTS=OFF -DVEXEL_BUILD_BENCH=OFF -DVEXEL_BUILD_GAMES=OFF
	cmake --build $(BUILD)-install -j$(JOBS)
	cmake --install $(BUILD)-install

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; LP_NUM_THREADS=2 $$b; done

# The media makers the build runs start the engine, and with it the GL driver, whose own
# allocations LeakSanitizer would report as the build's failure; the tests still check leaks.
sanitize:
	$(MAKE) test BUILD=build-sanitize CMAKE_FLAGS="-DVEXEL_SANITIZE=ON -DVEXEL_BUILD_BENCH=OFF" \
	  BUILD_ENV="LSAN_OPTIONS=detect_leaks=0"

# The libFuzzer harnesses of fuzz/, built with clang, ASan and UBSan, each run for FUZZ_SECONDS
# from the seeds in fuzz/seeds (FUZZERS="bmp png" runs only those), two at a time.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS ?=

fuzz: deps
	CC=clang-14 CXX=clang++-14 cmake -S fuzz -B $(FUZZ_BUILD)
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	JOBS=$(JOBS) fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZERS)

format:
	find include src tests bench tools examples fuzz -name '*.h' -o -name '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD)-install build-sanitize $(FUZZ_BUILD)
