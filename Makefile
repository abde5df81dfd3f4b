BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz

.PHONY: all deps configure build run check test sanitize fuzz package clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	@$(BUILD_DIR)/vesk

# The normal suite alone: the quick loop while working.
check: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j2

# The whole run: the normal suite, then the sanitized suite and the fuzz targets.
test: check
	@$(MAKE) --no-print-directory sanitize
	@$(MAKE) --no-print-directory fuzz

# The whole suite once more, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESK_SANITIZE=ON
	@cmake --build $(SANITIZE_DIR) -j2
	@cd $(SANITIZE_DIR) && ctest --output-on-failure -j2

# libFuzzer targets built with clang in their own folder, each run for a bounded time.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_FUZZ=ON
	@cmake --build $(FUZZ_DIR) -j2
	@scripts/run-fuzz $(FUZZ_DIR)

# The Debian package build/vesk_<version>_amd64.deb.
package: build
	@cmake --build $(BUILD_DIR) --target package

clean:
	@rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
