# Brevant: the two everyday commands are `make run` and `make test`.
# Everything is built with CMake and Ninja; this file only wraps the steps.

BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN  := -G Ninja
FUZZ_SECONDS ?= 15

.PHONY: all deps configure build test test-asan bench fuzz fuzz-smoke run docs format clean

all: build

deps:
	@tools/install-deps

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The fuzz smoke run comes first so that CTest's summary is the last thing printed.
test: deps fuzz-smoke build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(BUILD_ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DBREVANT_SANITIZE=ON
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

# libFuzzer targets need clang; the fuzz tree builds only the platform, the value layer and the targets.
$(BUILD_FUZZ)/build.ninja: | deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) $(CMAKE_GEN) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVANT_FUZZ=ON

# Each target: its seed corpus under tests/fuzz/; new inputs go to the build tree.
FUZZ_TARGETS := fuzz_rtl_conversions:corpus fuzz_form_text:corpus_form_text \
                fuzz_form_binary:corpus_form_binary fuzz_bmp:corpus_bmp fuzz_png:corpus_png \
                fuzz_form_picture:corpus_form_picture fuzz_prop_accessor:corpus_prop_accessor

fuzz: $(BUILD_FUZZ)/build.ninja
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target $(foreach t,$(FUZZ_TARGETS),$(firstword $(subst :, ,$(t))))
	@set -e; for t in $(FUZZ_TARGETS); do \
	  name=$${t%%:*}; corpus=$${t#*:}; \
	  mkdir -p $(BUILD_FUZZ)/$$corpus; \
	  $(BUILD_FUZZ)/tests/fuzz/$$name -max_total_time=$${FUZZ_TIME:-300} \
	    $(BUILD_FUZZ)/$$corpus tests/fuzz/$$corpus; \
	done

# A short bounded run of every target, reading the seed corpora and writing
# nothing into the source tree.
fuzz-smoke: $(BUILD_FUZZ)/build.ninja
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target $(foreach t,$(FUZZ_TARGETS),$(firstword $(subst :, ,$(t))))
	@set -e; for t in $(FUZZ_TARGETS); do \
	  name=$${t%%:*}; corpus=$${t#*:}; \
	  mkdir -p $(BUILD_FUZZ)/smoke/$$corpus; \
	  echo "fuzz-smoke: $$name ($(FUZZ_SECONDS) s at most)"; \
	  $(BUILD_FUZZ)/tests/fuzz/$$name -seed=1 -runs=200000 -max_total_time=$(FUZZ_SECONDS) \
	    $(BUILD_FUZZ)/smoke/$$corpus tests/fuzz/$$corpus; \
	done

# The demonstration opens Data/data.db under the build folder.
run: build
	cd $(BUILD) && demo/brevant-demo

# The README's page pictures (docs/images/pages), rendered off-screen.
docs: configure
	cmake --build $(BUILD) -j $(JOBS) --target demo-screens

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ)
