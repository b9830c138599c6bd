# Set-up and everyday commands. `make test` and `make run` install what is missing (as root),
# configure, build and then test or run.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

PACKAGES := build-essential cmake pkg-config libsdl2-dev libgl-dev libgl1-mesa-dri libegl1 libegl-dev \
            libpng-dev libjpeg62-turbo-dev zlib1g-dev liblzo2-dev \
            libgtest-dev libgmock-dev libbenchmark-dev

.PHONY: all deps configure build test run bench sanitize format clean

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
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

run: build
	@if [ -x $(BUILD)/games/tile_scene/tile_scene ]; then \
	  cd $(BUILD)/games/tile_scene && ./tile_scene; \
	else \
	  echo "No game exists yet: the tile scene has not landed."; \
	fi

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; LP_NUM_THREADS=2 $$b; done

sanitize:
	$(MAKE) test BUILD=build-sanitize CMAKE_FLAGS="-DVEXEL_SANITIZE=ON -DVEXEL_BUILD_BENCH=OFF"

format:
	find include src tests bench tools examples -name '*.h' -o -name '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-sanitize
