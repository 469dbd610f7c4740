# Short names for the usual jobs. Each installs what is missing first.
WIN32_DIR  := build/win32
WIN64_DIR  := build/win64
NATIVE_DIR := build/native
JOBS       := $(shell nproc)

# Signing the installers (docs/administrators.md, Signing), on make's command line or in the
# environment. The build's commands run in build/, hence absolute paths; and the sub-makes of
# `cmake --build` get them from the environment, not as given on the command line. Made absolute
# as text, not with $(abspath), which splits a path at its blanks.
absolute = $(if $(1),$(if $(filter /%,$(firstword $(1))),$(1),$(CURDIR)/$(1)))
override SIGN_PFX           := $(call absolute,$(SIGN_PFX))
override SIGN_PASSWORD_FILE := $(call absolute,$(SIGN_PASSWORD_FILE))
# The MSI's version (x.y.z), by default the launcher's.
export TESSALY_VERSION := $(VERSION)
export SIGN_PFX SIGN_PASSWORD_FILE SIGN_TIMESTAMP_URL
MAKEOVERRIDES =

.PHONY: all deps build installer msi twin native test fuzz demo bench clean format format-check

all: build

deps:
	@scripts/install-deps

# Configured afresh when its toolchain file changes: CMake keeps the compiler it found first.
$(WIN32_DIR)/CMakeCache.txt: cmake/mingw-i686.cmake | deps
	rm -rf $(WIN32_DIR)/CMakeCache.txt $(WIN32_DIR)/CMakeFiles
	cmake -S . -B $(WIN32_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

$(WIN64_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(WIN64_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DTESSALY_TESTS=ON

$(NATIVE_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(NATIVE_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++

build: deps $(WIN32_DIR)/CMakeCache.txt
	cmake --build $(WIN32_DIR) --target tessaly -j $(JOBS)

# The application's installer around the shipped launcher (installer/tessaly.nsi), and the
# launcher as packed.
installer: build
	cmake --build $(WIN32_DIR) --target installer -j $(JOBS)
	@ls -l $(WIN32_DIR)/package/tessaly.exe $(WIN32_DIR)/tessaly-setup.exe

# The MSI around the shipped launcher (installer/tessaly.wxs); VERSION=x.y.z sets its version.
msi: build
	cmake --build $(WIN32_DIR) --target msi -j $(JOBS)
	@ls -l $(WIN32_DIR)/tessaly.msi

native: deps $(NATIVE_DIR)/CMakeCache.txt
	cmake --build $(NATIVE_DIR) -j $(JOBS)

test: format-check installer msi native $(WIN64_DIR)/CMakeCache.txt
	cmake --build $(WIN64_DIR) -j $(JOBS)
	scripts/run-tests

# Each fuzz target for a minute; what they find new stays in build/native/corpus.
fuzz: native
	for target in $(NATIVE_DIR)/fuzz_*; do rule=$${target##*_}; \
	  $$target -max_total_time=60 -print_final_stats=1 $(NATIVE_DIR)/corpus/$$rule tests/corpus || exit 1; done

twin: deps $(WIN64_DIR)/CMakeCache.txt
	cmake --build $(WIN64_DIR) --target tessaly fake_java drive_window tessaly_app -j $(JOBS)

demo: build twin
	@scripts/demo

# The launcher and the bare ShellExecuteA program from both builds: the bench measures the
# shipped 32-bit pair where this machine runs 32-bit programs, else the x86_64 pair.
bench: deps $(WIN32_DIR)/CMakeCache.txt $(WIN64_DIR)/CMakeCache.txt
	cmake --build $(WIN32_DIR) -j $(JOBS)
	cmake --build $(WIN64_DIR) --target bench -j $(JOBS)
	@scripts/bench

# Every C++ file in the one format of .clang-format: `make format` rewrites, `make test` checks.
CXX_FILES = $(shell find src tests tools bench installer -name '*.cpp' -o -name '*.h')
format: deps
	clang-format -i $(CXX_FILES)

format-check: deps
	@clang-format --dry-run -Werror $(CXX_FILES)

clean:
	rm -rf build
