# make run   — install what is missing, build, start Mirelva
# make test  — the same, then every test
JOBS ?= $(shell nproc)

.PHONY: all deps test-deps configure build run test asan-test format format-check bench clean

all: build

deps:
	@bash scripts/install-deps.sh

test-deps:
	@bash scripts/install-deps.sh --test

configure: deps
	@cmake --preset dev >/dev/null

build: configure
	@cmake --build --preset dev -j $(JOBS)

run: build
	./build/mirelva

test: test-deps build
	@ctest --preset dev -j $(JOBS)

asan-test: test-deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: test-deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

bench:
	@bash scripts/install-deps.sh --bench
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j $(JOBS)
	@./build-bench/bench/mirelva_bench
	@./build-bench/bench/mirelva_access_bench

clean:
	rm -rf build build-asan build-bench
