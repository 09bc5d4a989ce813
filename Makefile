# The project's commands: make run, make test (see README.md).
SHELL := /bin/bash
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps build test run bench msi dist reproducible-check fresh-root clean

all: build

deps:
	@tools/install-deps

build: deps
	cmake -S . -B build/i686 $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	cmake --build build/i686
	cmake -S . -B build/x86_64 $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
	cmake --build build/x86_64
	rm -rf build/dist
	cmake --install build/i686 --prefix build/dist >/dev/null
	cmake --install build/x86_64 --prefix build/dist >/dev/null
	@echo "Windows tree: build/dist"

test: build
	tools/run-tests

run: build
	tools/run-dockhint

bench: build
	tools/run-bench

# The Windows Installer package; VERSION=a.b.c gives it another version.
msi: build
	tools/make-msi $(VERSION)

# The zip and the package, signed when PORTICA_SIGN_CERT and PORTICA_SIGN_KEY are set.
dist: build
	tools/make-dist

# make dist twice, in two clones of HEAD, compared file by file (see
# README.md, "Checking a release").
reproducible-check:
	tools/reproducible-check

# make test and make dist on a bare Debian 12 root, from a clone of HEAD
# (needs root; see README.md, "How the tests run").
fresh-root:
	tools/fresh-root

clean:
	rm -rf build
