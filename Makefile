BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize

.PHONY: all deps configure build run test sanitize clean

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
	@$(MAKE) --no-print-directory sanitize

# The whole suite once more, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESK_SANITIZE=ON
	@cmake --build $(SANITIZE_DIR) -j2
	@cd $(SANITIZE_DIR) && ctest --output-on-failure -j2

clean:
	@rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
