# make run   installs what is missing, builds and starts the player
# make test  installs what is missing, builds and runs every test
# make bench builds and runs the benchmarks against their peers
# make install PREFIX=/usr/local [DESTDIR=...]  builds and installs the player
# make package builds the Debian package into the build folder
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
JOBS       ?= $(shell nproc)
WERROR     ?= $(if $(CI),ON,OFF)
CMAKE_ARGS ?=
PREFIX     ?= /usr/local

.PHONY: run test bench deps configure build build-asan test-asan build-tsan test-tsan install package format format-check clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DZORVAN_WERROR=$(WERROR) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/zorvan ]; then $(BUILD)/bin/zorvan $(ARGS); \
	else echo "The player window is not built yet: run 'make test' to check the libraries."; fi

build-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DZORVAN_SANITIZE=ON -DZORVAN_WERROR=$(WERROR) -DZORVAN_BENCH=OFF $(CMAKE_ARGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

test-asan: build-asan
	@ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/testing/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 scripts/run-tests.sh $(ASAN_BUILD) $(JOBS)

build-tsan: deps
	@cmake -S . -B $(TSAN_BUILD) -DZORVAN_TSAN=ON -DZORVAN_WERROR=$(WERROR) -DZORVAN_BENCH=OFF $(CMAKE_ARGS) >/dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS)

# setarch -R: ThreadSanitizer's shadow memory needs the address layout without
# randomisation on kernels with wide mmap randomisation.
test-tsan: build-tsan
	@TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" setarch -R scripts/run-tests.sh $(TSAN_BUILD) $(JOBS)

test: build format-check
	@scripts/run-tests.sh $(BUILD) $(JOBS)
	@$(MAKE) --no-print-directory test-asan
	@$(MAKE) --no-print-directory test-tsan

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	@cd $(BUILD) && cpack -G DEB

bench: build
	@bash bench/run.sh $(BUILD)

format:
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs -r clang-format -i

format-check:
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD)
