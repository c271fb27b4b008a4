# A thin layer over the CMake presets in CMakePresets.json.

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
DEMO_DIR := build/demo
FUZZ_SECONDS ?= 60
FUZZ_DIR := $(CURDIR)/build/fuzz

.PHONY: all release test demo fuzz deps clean

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

# Installs what building, testing, fuzzing and benchmarking need, when it is missing
# (Debian, as root).
deps:
	scripts/install-deps test fuzz

clean:
	rm -rf build
