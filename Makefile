# Two commands set everything up: `make run` and `make test`.
# Both install the Debian packages they need first (only the missing ones).

BUILD      := build
TEST_BUILD := build-test
BENCH_BUILD:= build-bench
CMAKE_GEN  := -G Ninja

.PHONY: all deps build run test bench bitmaps clean

all: build

deps:
	@./tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTOR_TESTS=OFF >/dev/null
	@cmake --build $(BUILD)

run:
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display here (DISPLAY and WAYLAND_DISPLAY are unset); run it from a desktop session."; \
	  exit 1; fi
	@$(MAKE) --no-print-directory build
	@./$(BUILD)/kestor

test: deps
	@cmake -S . -B $(TEST_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKESTOR_SANITIZE=ON >/dev/null
	@cmake --build $(TEST_BUILD)
	@cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

bench: deps
	@cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKESTOR_TESTS=OFF -DKESTOR_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD)
	@QT_QPA_PLATFORM=offscreen ./$(BENCH_BUILD)/bench/kestor_bench

bitmaps: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTOR_TESTS=OFF >/dev/null
	@cmake --build $(BUILD) --target bitmaps

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(BENCH_BUILD)
