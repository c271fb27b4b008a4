# A thin layer over the CMake presets in CMakePresets.json.

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
DEMO_DIR := build/demo
FUZZ_SECONDS ?= 60
FUZZ_DIR := $(CURDIR)/build/fuzz

BENCH_POSITIONS ?= 20 10000 100000 1000000
BENCH_DATA := build/bench/data

PREFIX ?= /usr/local

.PHONY: all release test demo install package fuzz bench lint deps clean

all: release

release:
	cmake --preset release
	cmake --build --preset release --parallel $(JOBS)

# Every test, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test:
	scripts/install-deps test
	cmake --preset sanitize
	cmake --build --preset sanitize --parallel $(JOBS)
	ctest --preset sanitize --parallel $(JOBS)

# Exports the sample invoice in examples/ and shows it (the file itself is code page
# 852 with CR LF line ends; it is shown converted to UTF-8).
demo: release
	@mkdir -p $(DEMO_DIR)
	cd examples && ../build/release/invoice-export ../$(DEMO_DIR)/faktura.txt
	@echo "--- $(DEMO_DIR)/faktura.txt:"
	@iconv -f CP852 -t UTF-8 $(DEMO_DIR)/faktura.txt | tr -d '\r'

# Installs the program, man page and documents under PREFIX (bin/, share/man/man1/,
# share/doc/invoice-export/).
install: release
	cmake --install build/release --prefix $(PREFIX)

# A Debian package in build/release, installed with dpkg -i.
package: release
	cd build/release && cpack -G DEB

# Runs the libFuzzer target for FUZZ_SECONDS, starting from seeds made of the sample
# and writer tables plus whatever earlier runs kept in build/fuzz/corpus. A crash,
# sanitizer report, leak or hang is saved as build/fuzz/crash-*, leak-* or timeout-*
# and fails the run.
fuzz:
	scripts/install-deps fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz --parallel $(JOBS)
	rm -rf $(FUZZ_DIR)/seeds
	fuzz/make_seeds $(FUZZ_DIR)/seeds
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/fuzz/export_fuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	  -max_len=16384 -close_fd_mask=3 -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/ \
	  $(FUZZ_DIR)/corpus $(FUZZ_DIR)/seeds

# The export against cat of the same tables for each BENCH_POSITIONS, then the
# microbenchmarks. Tables are generated once per size under build/bench/data.
bench:
	scripts/install-deps bench
	cmake --preset bench
	cmake --build --preset bench --parallel $(JOBS)
	@for n in $(BENCH_POSITIONS); do \
	  [ -f $(BENCH_DATA)/$$n/dtowar.dbf ] || build/bench/bench/make_tables $(BENCH_DATA)/$$n $$n; \
	done
	build/bench/bench/compare_with_cat $(CURDIR)/build/bench/invoice-export $(BENCH_DATA) $(BENCH_POSITIONS)
	build/bench/bench/micro_bench

# Formatting of every C++ file, and clang-tidy over the program's sources; both must
# be clean.
lint:
	scripts/install-deps lint
	cmake --preset release
	JOBS=$(JOBS) scripts/lint

# Installs what building, testing, fuzzing and benchmarking need, when it is missing
# (Debian, as root).
deps:
	scripts/install-deps test fuzz bench lint

clean:
	rm -rf build
