# The two commands of the README: `make run` and `make test`.
# PRESET picks the CMake preset (default: RelWithDebInfo; asan, tsan: Debug with sanitizers);
# JOBS the parallel build jobs.
PRESET ?= default
JOBS ?= $(shell nproc)

.PHONY: run test build deps format format-check tidy fuzz clean

run: build
	./build/$(PRESET)/src/app/parlomat

test: build
	ctest --preset $(PRESET) -j $(JOBS)

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET) -j $(JOBS)

deps:
	@scripts/install-deps

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# clang-tidy (.clang-tidy) over every source file under src/, from the preset's compile database.
tidy: deps
	cmake --preset $(PRESET)
	run-clang-tidy -p build/$(PRESET) -quiet -j $(JOBS) '^$(CURDIR)/src/'

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzzers build/fuzz 60

clean:
	rm -rf build
