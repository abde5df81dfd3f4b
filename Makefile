BUILD_DIR ?= build

.PHONY: all deps configure build run test clean

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

clean:
	@rm -rf $(BUILD_DIR)
