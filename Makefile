# The two set-up commands: `make run` builds and opens the window, `make test`
# builds and runs every test. Both install the Debian packages they need
# first (only those missing), as root or through sudo.

BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo

# What a fresh Debian 12 needs to build, test and show the window.
BUILD_PACKAGES = cmake ninja-build g++ make qt6-base-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build run test clean

all: build

deps:
	@missing=""; \
	for p in $(BUILD_PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q "install ok installed" \
			|| missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(BUILD)/app/rotavel

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error

clean:
	rm -rf $(BUILD)
