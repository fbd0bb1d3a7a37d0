# The two front-door commands: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= 2

.PHONY: setup configure build run test bench clean

setup:
	bash scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD_DIR) -G Ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/app/rx40-tessel --simulate $(ARGS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

bench: build
	$(BUILD_DIR)/bench/record_throughput

clean:
	rm -rf $(BUILD_DIR)
