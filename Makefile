# A thin layer over the CMake presets in CMakePresets.json.

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
DEMO_DIR := build/demo

.PHONY: all release test demo deps clean

all: release

release:
	cmake --preset release
	cmake --build --preset release --parallel $(JOBS)

# Every test, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test: deps
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

# Installs what building and testing need, when it is missing (Debian, as root).
deps:
	scripts/install-deps

clean:
	rm -rf build
