BUILD_DIR ?= build

.PHONY: all deps configure build run test fuzz clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	@$(BUILD_DIR)/vesk

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j2
	@$(MAKE) --no-print-directory fuzz

# libFuzzer targets built with clang in their own folder, each run for a bounded time.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_FUZZ=ON
	@cmake --build build-fuzz -j2
	@scripts/run-fuzz build-fuzz

clean:
	@rm -rf $(BUILD_DIR) build-fuzz
