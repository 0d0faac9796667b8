# make run  - install what is missing, build, start the editor in workspace/
# make test - install what is missing, build with warnings as errors and sanitizers, run every test
# make bench - build optimised and run the benchmarks
# make package - build the Debian package build/package/velmaro_*.deb (install: apt-get install ./FILE)
# make fuzz  - fuzz each file reader for FUZZ_RUNS inputs (make fuzz FUZZ_RUNS=100000 for a short run)
# make stress - the fuzzers, KILLS kills of a saving process per data file, and 100,000 articles
#               through the window (longer than make test)

JOBS ?= $(shell nproc)
TEST_CONFIG := -DCMAKE_BUILD_TYPE=Debug -DVELMARO_WERROR=ON -DVELMARO_SANITIZE=ON

.PHONY: run test bench deps format fuzz stress package

deps:
	@scripts/install-deps

run: deps
	cmake -S . -B build/run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMARO_TESTS=OFF
	cmake --build build/run -j $(JOBS)
	mkdir -p workspace/data workspace/output
	cd workspace && ../build/run/velmaro

test: deps
	cmake -S . -B build/test $(TEST_CONFIG)
	cmake --build build/test -j $(JOBS)
	cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE stress

bench: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVELMARO_BENCH=ON -DVELMARO_TESTS=OFF
	cmake --build build/bench -j $(JOBS)
	build/bench/bench/velmaro_bench
	build/bench/bench/velmaro_wiederherstellung_bench
	build/bench/bench/velmaro_bilder_bench
	bench/upload-bench build/bench/bench/velmaro_upload_bench
	bench/schnell-bench build/bench/bench/velmaro_upload_bench

package: deps
	cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DVELMARO_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build build/package -j $(JOBS)
	cd build/package && cpack

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

FUZZ_RUNS ?= 10000000
FUZZ_TARGETS := daten_fuzz styleconfig_fuzz ftpconfig_fuzz
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev

# Each fuzzer grows a copy of its seed corpus in build/fuzz/korpus/, so tests/ only ever holds the
# seeds. Inputs up to 8 KiB cross the archive's 4096-byte buffer; without NDEBUG the list's asserts
# stay on. A crash ends make with an error.
fuzz:
	@scripts/install-deps $(FUZZ_PACKAGES)
	cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DVELMARO_FUZZ=ON \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g"
	cmake --build build/fuzz -j $(JOBS) --target $(FUZZ_TARGETS)
	set -e; for t in $(FUZZ_TARGETS); do \
	    mkdir -p build/fuzz/korpus/$$t; \
	    cp tests/fuzz/korpus/$$t/* build/fuzz/korpus/$$t/; \
	    build/fuzz/tests/$$t -runs=$(FUZZ_RUNS) -max_len=8192 -print_final_stats=1 \
	        -artifact_prefix=build/fuzz/$$t- build/fuzz/korpus/$$t; \
	done

KILLS ?= 2000

stress: fuzz
	cmake -S . -B build/test $(TEST_CONFIG)
	cmake --build build/test -j $(JOBS) --target core_tests grossedaten_guitest
	VELMARO_TOETUNGEN=$(KILLS) build/test/tests/core_tests --gtest_filter='*AbsturzBeimSpeichern*'
	cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -L stress
