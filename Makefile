# make run   — install what is missing, build, start Mirelva (warnings do not stop the build)
# make test  — the same with every warning an error, then every test
# make fuzz  — every fuzz target of tests/fuzz for FUZZ_SECONDS each
# make package       — build/mirelva_<version>_amd64.deb, checked with appstreamcli, desktop-file-validate, lintian
# make package-test  — the same, then install it on a fresh Debian 12 chroot and run it there
# make mutants       — build, then break the code on purpose with each mutant of tests/mutants.json
#                      in turn: every one must make a test fail (slow; not run in CI)
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
FUZZ_SEED ?= 0
FUZZ_RUNS ?= -1
VERSION := $(shell grep -o 'Mirelva VERSION [0-9.]*' CMakeLists.txt | cut -d' ' -f3)
DEB := build/mirelva_$(VERSION)_amd64.deb

.PHONY: all deps test-deps configure build ci-build run test asan-test fuzz format format-check bench clean package package-test mutants

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
	@bash scripts/install-deps.sh --run
	./build/mirelva

# The same build folder with warnings as errors: what make test and CI build.
# The folder keeps the setting, so a later make run there keeps it too; a
# fresh folder (a user's make run) never has it.
ci-build: test-deps
	@cmake --preset ci >/dev/null
	@cmake --build --preset ci -j $(JOBS)

test: ci-build
	@ctest --preset dev -j $(JOBS)

mutants: build
	@python3 ../shared/tools/mutate.py tests/mutants.json

asan-test: test-deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

fuzz:
	@bash scripts/install-deps.sh --fuzz
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_SEED=$(FUZZ_SEED) FUZZ_RUNS=$(FUZZ_RUNS) bash scripts/fuzz.sh

package:
	@bash scripts/install-deps.sh --package
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev --target mirelva mirelva-say mirelva-festival mirelva_package_files -j $(JOBS)
	@rm -f $(DEB)
	@cd build && cpack -G DEB >/dev/null
	@appstreamcli validate --no-net build/packaging/org.mirelva.Mirelva.metainfo.xml
	@desktop-file-validate packaging/org.mirelva.Mirelva.desktop
	@lintian --fail-on error $(DEB)
	@echo "$(DEB)"

package-test: package
	@bash tests/package/package_install.sh $(DEB)

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
	@./build-bench/bench/mirelva_photo_bench
	@./build-bench/bench/mirelva_voice_bench
	@./build-bench/bench/mirelva_edges_bench
	@./build-bench/bench/mirelva_bench_symbols
	@./build-bench/bench/mirelva_board_bench

clean:
	rm -rf build build-asan build-bench build-fuzz
