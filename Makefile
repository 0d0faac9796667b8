# make run  - install what is missing, build, start the editor in workspace/
# make test - install what is missing, build with warnings as errors and sanitizers, run every test
# make bench - build optimised and run the benchmarks

JOBS ?= $(shell nproc)

.PHONY: run test bench deps format

deps:
	@scripts/install-deps

run: deps
	cmake -S . -B build/run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMARO_TESTS=OFF
	cmake --build build/run -j $(JOBS)
	mkdir -p workspace/data workspace/output
	cd workspace && ../build/run/velmaro

test: deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DVELMARO_WERROR=ON -DVELMARO_SANITIZE=ON
	cmake --build build/test -j $(JOBS)
	cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVELMARO_BENCH=ON -DVELMARO_TESTS=OFF
	cmake --build build/bench -j $(JOBS)
	build/bench/bench/velmaro_bench
	bench/upload-bench build/bench/bench/velmaro_upload_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
