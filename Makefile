# Two commands set everything up: `make run` and `make test`.
# Both install the Debian packages they need first (only the missing ones).

BUILD      := build
TEST_BUILD := build-test
BENCH_BUILD:= build-bench
PACKAGE_BUILD := build-package
PREFIX     ?= /usr/local
CMAKE_GEN  := -G Ninja

WEB_BUILD  := build-web
WEB_PORT   ?= 8018

.PHONY: all deps build run test bench bitmaps install package release clean web web-run

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

# The release build of the Debian package, in $(PACKAGE_BUILD)/ (prefix /usr).
# $(1): where cpack's report goes.
define build_package
	@cmake -S . -B $(PACKAGE_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKESTOR_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
	@cmake --build $(PACKAGE_BUILD)
	@cd $(PACKAGE_BUILD) && cpack -G DEB $(1)
endef

# The tests include one of the package built here, and the browser tests
# open the web builds made here (with and without the data file).
test: deps
	$(call build_package,>/dev/null)
	@$(MAKE) --no-print-directory web
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD)-nodata $(CMAKE_GEN) -DKESTOR_BACKEND=web -DCMAKE_BUILD_TYPE=Release -DKESTOR_WEB_DATA=OFF >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD)-nodata
	@cmake -S . -B $(TEST_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKESTOR_SANITIZE=ON -DKESTOR_PACKAGE_DIR=$(CURDIR)/$(PACKAGE_BUILD) -DKESTOR_WEB_DIR=$(CURDIR)/$(WEB_BUILD) -DKESTOR_WEB_NODATA_DIR=$(CURDIR)/$(WEB_BUILD)-nodata >/dev/null
	@cmake --build $(TEST_BUILD)
	@$(MAKE) --no-print-directory fuzz SECONDS=30
	@cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

bench: deps
	@cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKESTOR_TESTS=OFF -DKESTOR_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD)
	@QT_QPA_PLATFORM=offscreen ./$(BENCH_BUILD)/bench/kestor_bench
	@$(MAKE) --no-print-directory web >/dev/null
	@node bench/web.js --web $(CURDIR)/$(WEB_BUILD)

bitmaps: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTOR_TESTS=OFF >/dev/null
	@cmake --build $(BUILD) --target bitmaps

# Installs the program under $(PREFIX) (make install PREFIX=$$HOME/.local;
# DESTDIR is honoured).
install: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTOR_TESTS=OFF -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	@cmake --build $(BUILD)
	@cmake --install $(BUILD) --strip

# The Debian package: $(PACKAGE_BUILD)/kestor_<version>_<arch>.deb.
package: deps
	$(call build_package)

# The folder to hand over: release/ with kestor.html, the .deb, the served
# site as kestor-site-<version>.zip, LISEZMOI.txt and SHA256SUMS. The version
# is project(kestor VERSION ...) of CMakeLists.txt.
VERSION := $(shell sed -n 's/^project.kestor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
release: deps
	$(call build_package,>/dev/null)
	@$(MAKE) --no-print-directory web
	@./tools/mkrelease.sh release $(PACKAGE_BUILD) $(WEB_BUILD) $(VERSION)

# The data-file fuzzer (clang, libFuzzer, with AddressSanitizer and
# UndefinedBehaviorSanitizer) for SECONDS seconds: make fuzz SECONDS=N. It
# starts from its seed corpus ($(FUZZ_BUILD)/corpus); what a run finds is kept
# in $(FUZZ_BUILD)/findings until the next run, an input that breaks a
# property as $(FUZZ_BUILD)/crash-*.
FUZZ_BUILD := build-fuzz
SECONDS    ?= 30
.PHONY: fuzz
fuzz: deps
	@CC=clang CXX=clang++ cmake -S fuzz -B $(FUZZ_BUILD) $(CMAKE_GEN) >/dev/null
	@cmake --build $(FUZZ_BUILD) --target fuzz_datafile
	@rm -rf $(FUZZ_BUILD)/findings && mkdir -p $(FUZZ_BUILD)/findings
	@cd $(FUZZ_BUILD) && if ./fuzz_datafile -max_total_time=$(SECONDS) -timeout=60 findings corpus >fuzz.log 2>&1; then \
	  echo "fuzz: $$(grep -E '^Done [0-9]+ runs' fuzz.log), nothing broken"; \
	else tail -n 60 fuzz.log; echo "fuzz: a property broke; the input is in $(FUZZ_BUILD)/"; exit 1; fi

# The browser's page: $(WEB_BUILD)/kestor.html (one self-contained file) and
# $(WEB_BUILD)/site/ (the same as separate files for a web server). Debian's
# emscripten finds its node modules through NODE_PATH.
web: deps
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) $(CMAKE_GEN) -DKESTOR_BACKEND=web -DCMAKE_BUILD_TYPE=Release >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD)
	@echo "web: $(WEB_BUILD)/kestor.html ($$(du -h $(WEB_BUILD)/kestor.html | cut -f1)) and $(WEB_BUILD)/site/"

# Serves $(WEB_BUILD)/site/ on this machine only (make web-run WEB_PORT=N).
web-run: web
	@echo "KESTOR: http://127.0.0.1:$(WEB_PORT)/kestor.html (Ctrl+C to stop)"
	@cd $(WEB_BUILD)/site && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(BENCH_BUILD) build-fuzz $(PACKAGE_BUILD) $(WEB_BUILD) $(WEB_BUILD)-nodata release
