# Quillo's everyday commands. Each one installs what is missing first.
#   make run      build and start Quillo
#   make test     build and run every test
#   make package  build the Debian package $(BUILD)/quillo_<version>_<arch>.deb
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test package format clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

configure: deps $(BUILD)/build.ninja

build: configure
	@cmake --build $(BUILD)

run: build
	@scripts/with-runtime-dir.sh $(BUILD)/quillo

test: build
	@cd $(BUILD) && ctest --output-on-failure -j2

# Packaging: the Debian package, made by CPack from the install rules
# (cmake/Packaging.cmake).
package: build
	@cd $(BUILD) && cpack -G DEB

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD)
