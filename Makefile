# SPDX-License-Identifier: GPL-3.0-or-later
# The two set-up commands: `make run` builds and opens the window, `make test`
# builds and runs every test. Both install the Debian packages they need
# first (only those missing), as root or through sudo.

BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo

# What a fresh Debian 12 needs to build, test and show the window.
BUILD_PACKAGES = cmake ninja-build g++ make qt6-base-dev
# The checks of the desktop entry, metainfo and manual page.
BUILD_PACKAGES += desktop-file-utils appstream groff-base
# The German texts of Qt that the translation test reads.
BUILD_PACKAGES += qt6-translations-l10n
# The window on a Wayland desktop: Qt's Wayland platform, and a headless
# compositor with its screenshot and typing tools.
BUILD_PACKAGES += qt6-wayland sway grim wtype python3

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Installs those of the given Debian packages that are not installed yet.
define install_missing
	@missing=""; \
	for p in $(1); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q "install ok installed" \
			|| missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi
endef

.PHONY: all deps build run test check clean

all: build

deps:
	$(call install_missing,$(BUILD_PACKAGES))

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

# Only the program: the tests and fuzz targets are built by `make test`.
run: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) --target rotavel
	$(BUILD)/app/rotavel

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error

# The whole test suite again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer; the first report ends the test that made it.
CHECK_BUILD ?= build-check
SANITIZERS = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

check: deps
	cmake -S . -B $(CHECK_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_FLAGS="$(SANITIZERS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZERS)"
	cmake --build $(CHECK_BUILD)
	cd $(CHECK_BUILD) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure --no-tests=error

# Every build folder the targets below make. Those that may hold clean
# Debian systems go through the guard of the clean-system tests (nothing
# deleted while anything is mounted below), as root where they hold root's
# files.
clean:
	rm -rf $(BUILD) $(CHECK_BUILD) $(WINDOWS_BUILD) $(PACKAGE_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) \
		$(RELEASE_BUILD)
	@for tree in $(SYSTEMS_BUILD) $(ARM64_BUILD) $(REPRODUCIBLE_BUILD); do \
		[ -e "$$tree" ] || continue; \
		if [ -z "$$(find "$$tree" -xdev ! -user "$$(id -u)" -print -quit)" ]; then \
			sh tests/debian/remove_tree.sh "$$tree"; \
		else \
			$(SUDO) sh tests/debian/remove_tree.sh "$$tree"; \
		fi || exit 1; \
	done

# The Debian source package (debian/), made from the source tree as it is
# now, and the package built from it the way Debian builds packages, with
# dpkg-buildpackage: $(PACKAGE_BUILD)/rotavel_$(VERSION).dsc and
# rotavel_$(VERSION).tar.xz, then rotavel_$(VERSION)_$(ARCH).deb, its debug
# symbols (rotavel-dbgsym_...), .buildinfo and .changes. The Build-Depends
# missing here are installed first (apt-get build-dep); the build runs the
# tests debian/rules names. Then packaging/check_deb.sh reads the package
# back and runs lintian, pedantic, on it and on the source package.
PACKAGE_BUILD ?= build-package
PACKAGE_PACKAGES = dpkg-dev lintian file git
# The sizes the raster icons must come in, each in its hicolor folder.
ICON_SIZES = 24 48 64 128 256
SOURCE_TREE = $(PACKAGE_BUILD)/rotavel-$(VERSION)

.PHONY: source-package package
source-package:
	$(call install_missing,$(PACKAGE_PACKAGES))
	rm -rf $(SOURCE_TREE) $(PACKAGE_BUILD)/rotavel_$(VERSION).*
	sh packaging/copy_source.sh . $(SOURCE_TREE)
	cd $(PACKAGE_BUILD) && dpkg-source --build rotavel-$(VERSION)
	rm -rf $(SOURCE_TREE)

package: source-package
	rm -f $(PACKAGE_BUILD)/*_$(ARCH).*
	cd $(PACKAGE_BUILD) && dpkg-source --extract rotavel_$(VERSION).dsc
	@cd $(SOURCE_TREE) && dpkg-checkbuilddeps 2>/dev/null || { \
		echo "Installing the Build-Depends"; \
		$(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get build-dep -y ./; }
	cd $(SOURCE_TREE) && dpkg-buildpackage --build=binary --no-sign --jobs=auto
	rm -rf $(SOURCE_TREE)
	sh packaging/check_deb.sh $(PACKAGE_BUILD)/rotavel_$(VERSION)_$(ARCH).changes $(ARCH) \
		io.github.rotavel.Rotavel $(VERSION) $(ICON_SIZES)

# The version, from project() in CMakeLists.txt, and this machine's Debian
# architecture: the package is $(PACKAGE_BUILD)/rotavel_$(VERSION)_$(ARCH).deb.
VERSION := $(shell sed -n 's/^project.rotavel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
ARCH := $(shell dpkg --print-architecture 2>/dev/null)

# Tests in clean Debian systems, each made with mmdebstrap from Debian's
# archive in $(SYSTEMS_BUILD)/ and removed afterwards (they need root).
SYSTEMS_BUILD ?= build-systems
SYSTEMS_PACKAGES = mmdebstrap git

# In clean Debian 13 systems: `make test` on a fresh clone; the source
# package built with only its Build-Depends, as an ordinary user; this
# machine's package installed and its window used by the autopkgtest.
.PHONY: distro-test
distro-test: package
	$(call install_missing,$(SYSTEMS_PACKAGES))
	$(SUDO) sh tests/debian/distro_test.sh $(SYSTEMS_BUILD) $(CURDIR) \
		$(PACKAGE_BUILD)/rotavel_$(VERSION).dsc $(PACKAGE_BUILD)/rotavel_$(VERSION)_$(ARCH).deb \
		$(ICON_SIZES)

# The arm64 build (Debian arm64, the Raspberry Pi's 64-bit system),
# cross-built from the same source package with dpkg-buildpackage -a arm64
# in a Debian 12 amd64 system with arm64 added that is made once in
# $(ARM64_BUILD)/ and kept; this machine's own packages stay as they are.
# `make package-arm64` makes $(ARM64_BUILD)/rotavel_$(VERSION)_arm64.deb
# (with its debug symbols, .buildinfo and .changes) and reads it back as
# `make package` does; `make arm64-test` runs the tests under QEMU's user
# mode, compares the exhaustive test's sample with this machine's build,
# installs the package there and starts its window.
ARM64_BUILD ?= build-arm64

.PHONY: package-arm64 arm64-test
package-arm64: source-package
	$(call install_missing,$(SYSTEMS_PACKAGES))
	$(SUDO) sh tests/debian/arm64.sh package $(ARM64_BUILD) \
		$(PACKAGE_BUILD)/rotavel_$(VERSION).dsc $(VERSION)
	sh packaging/check_deb.sh $(ARM64_BUILD)/rotavel_$(VERSION)_arm64.changes arm64 \
		io.github.rotavel.Rotavel $(VERSION) $(ICON_SIZES)

arm64-test: build package-arm64
	$(SUDO) sh tests/debian/arm64.sh test $(ARM64_BUILD) \
		$(PACKAGE_BUILD)/rotavel_$(VERSION).dsc $(VERSION) $(CURDIR)/$(BUILD)/tests/tst_exhaustive

# The last commit's time, which the Windows files of a release carry: from
# git in a clone, from cmake/source-date-epoch in an unpacked release
# tarball (git archive writes it there).
SOURCE_DATE := $(shell git log -1 --format=%ct 2>/dev/null || sed -n '/^[0-9][0-9]*$$/p' cmake/source-date-epoch)

# Two builds of the Debian package and of both Windows programs with their
# zips and setups, in a clean Debian 12 system made with mmdebstrap in
# $(REPRODUCIBLE_BUILD)/ (removed afterwards), from copies of the source at
# two places, as two users, with another umask, time zone, language and
# clock: every file must come out the same, bit for bit (diffoscope shows
# what differs). The built files stay in $(REPRODUCIBLE_BUILD)/first and
# second.
REPRODUCIBLE_BUILD ?= build-reproducible
REPRODUCIBLE_PACKAGES = mmdebstrap diffoscope-minimal

.PHONY: reproducible-test
reproducible-test: source-package
	$(call install_missing,$(REPRODUCIBLE_PACKAGES))
	$(SUDO) sh tests/debian/reproducible.sh $(REPRODUCIBLE_BUILD) \
		$(PACKAGE_BUILD)/rotavel_$(VERSION).dsc $(VERSION) $(SOURCE_DATE)

# A release anyone can check and rebuild, in $(RELEASE_BUILD)/: the source
# (git archive of the committed HEAD, everything a build needs), the amd64
# and arm64 Debian packages with their debug symbols, both Windows zips and
# setups, and SHA256SUMS of them all: the same bits from every build of the
# commit. (Each package's .buildinfo, the record of its build with its date,
# stays beside it in $(PACKAGE_BUILD)/ and $(ARM64_BUILD)/.) Only from a
# clean work tree: the packages are built from the tree as it is, the
# tarball from the commit.
RELEASE_BUILD ?= build-release

.PHONY: release release-clean-tree
release-clean-tree:
	@if [ -n "$$(git status --porcelain 2>/dev/null)" ]; then \
		git status --short; echo "make release: commit or stash these first"; exit 1; \
	fi

release: release-clean-tree package package-arm64 windows
	rm -rf $(RELEASE_BUILD)
	mkdir -p $(RELEASE_BUILD)
	git archive --format=tar.gz --prefix=rotavel-$(VERSION)/ \
		-o $(RELEASE_BUILD)/rotavel-$(VERSION).tar.gz HEAD
	cp $(PACKAGE_BUILD)/rotavel*_$(VERSION)_$(ARCH).deb $(ARM64_BUILD)/rotavel*_$(VERSION)_arm64.deb \
		$(WINDOWS_BUILD)/rotavel-$(VERSION)-windows-*.zip $(WINDOWS_BUILD)/rotavel-$(VERSION)-windows-*-setup.exe \
		$(RELEASE_BUILD)/
	cd $(RELEASE_BUILD) && sha256sum $$(ls | grep -v '^SHA256SUMS$$') >SHA256SUMS && sha256sum --check SHA256SUMS
	@echo "Release $(VERSION) of commit $$(git rev-parse --short HEAD) in $(RELEASE_BUILD)/"

# The native Windows programs, cross-built with MinGW-w64, one build tree per
# architecture: $(WINDOWS_BUILD)/x64/ for 64-bit Windows and
# $(WINDOWS_BUILD)/x86/ for 32-bit Windows, rotavel.exe in each; and their
# packages in $(WINDOWS_BUILD)/: rotavel-<version>-windows-<arch>.zip and
# the installer rotavel-<version>-windows-<arch>-setup.exe.
WINDOWS_BUILD ?= build-windows
WINDOWS_ARCHES = x64 x86
WINDOWS_PACKAGES = cmake ninja-build g++-mingw-w64-x86-64 g++-mingw-w64-i686 nsis zip
# Wine runs the Windows tests, on an X server of their own with a window
# manager (without one, hiding and closing windows stalls under Wine); the
# 32-bit program needs Wine's 32-bit half as well (wine32, see below).
WINDOWS_TEST_PACKAGES = wine wine64 xvfb xauth openbox
WINDOWS_TEST_SCREEN = 2560x1600x24
# The tests' Wine prefixes, shared by both architectures' tests: a 64-bit
# prefix runs 32-bit programs too.
WINDOWS_WINE_PREFIXES = $(CURDIR)/$(WINDOWS_BUILD)/wine

.PHONY: windows windows-deps windows-test-deps windows-test cross-test
windows-deps:
	$(call install_missing,$(WINDOWS_PACKAGES))

windows: windows-deps
	@set -e; for arch in $(WINDOWS_ARCHES); do \
		tree=$(WINDOWS_BUILD)/$$arch; \
		other=$$(echo $(WINDOWS_ARCHES) | tr ' ' '\n' | grep -v "^$$arch$$"); \
		cmake -S . -B $$tree -G Ninja -DCMAKE_BUILD_TYPE=Release \
			-DROTAVEL_OTHER_WINDOWS_BUILD=$(CURDIR)/$(WINDOWS_BUILD)/$$other \
			-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-$$arch.cmake \
			-DROTAVEL_WINE_PREFIXES=$(WINDOWS_WINE_PREFIXES); \
		cmake --build $$tree; \
		cp $$tree/app/rotavel.exe $$tree/rotavel.exe; \
		cp -f $$tree/rotavel-*-windows-$$arch.zip $(WINDOWS_BUILD)/; \
		cp -f $$tree/rotavel-*-windows-$$arch-setup.exe $(WINDOWS_BUILD)/; \
	done
	@ls -l $(foreach arch,$(WINDOWS_ARCHES),$(WINDOWS_BUILD)/$(arch)/rotavel.exe) \
		$(WINDOWS_BUILD)/rotavel-*-windows-*

# Wine's 32-bit half comes from the i386 architecture, which a fresh Debian
# does not list yet.
windows-test-deps:
	$(call install_missing,$(WINDOWS_TEST_PACKAGES))
	@if ! dpkg-query -W -f='$${Status}\n' wine32:i386 2>/dev/null | grep -q "install ok installed"; then \
		echo "Installing: wine32:i386"; \
		$(SUDO) dpkg --add-architecture i386 && $(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y wine32:i386; \
	fi

# The Windows tests under Wine, for both programs: the window through its
# real controls and its accessibility interface, its layout at 96 and 192
# dpi and the ways of Windows 7 (at 96 and 144 dpi) and 8.1 (at 144 dpi),
# without the later systems' dpi functions, the decimal comma under German settings, the program file's
# imports against Windows 7, the installer and uninstaller, and the
# geometry's reference values.
windows-test: windows-test-deps windows
	cd $(WINDOWS_BUILD) && xvfb-run -a -s "-screen 0 $(WINDOWS_TEST_SCREEN)" \
		sh -c 'openbox >/dev/null 2>&1 & wm=$$!; status=0; \
		for arch in $(WINDOWS_ARCHES); do echo "== $$arch"; \
			(cd $$arch && ctest --output-on-failure --no-tests=error) || status=1; done; \
		kill $$wm 2>/dev/null; exit $$status'

# The geometry's reference values alone, under Wine.
cross-test: windows-test-deps windows
	@set -e; for arch in $(WINDOWS_ARCHES); do \
		(cd $(WINDOWS_BUILD)/$$arch && ctest --output-on-failure -R geometry_cross_test); \
	done

# Benchmarks, not part of `make test`: a Release build of their own in
# build-bench/, every benchmark run, and one table of the figures against
# their targets (also kept in build-bench/results/table.md). Installs the
# Debian packages the benchmarks need first; Hamlib is only a yardstick. The
# Windows program is built too, for its size and its start-up under Wine.
BENCH_BUILD ?= build-bench
BENCH_PACKAGES = libbenchmark-dev libhamlib-dev pkg-config libx11-dev xvfb
BENCH_START_UP_RUNS ?= 15
BENCH_RESULTS = $(BENCH_BUILD)/results

.PHONY: bench bench-deps
bench-deps:
	$(call install_missing,$(BENCH_PACKAGES))

bench: deps bench-deps windows windows-test-deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BENCH_BUILD) --target benchmarks
	@for arch in $(WINDOWS_ARCHES); do \
		cmake --build $(WINDOWS_BUILD)/$$arch --target bare_window_win32 || exit 1; \
	done
	mkdir -p $(BENCH_RESULTS)
	bash -o pipefail -c '$(BENCH_BUILD)/bench/bench_geometry | tee $(BENCH_RESULTS)/geometry.txt'
	bash -o pipefail -c 'QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/bench/bench_window \
		| tee $(BENCH_RESULTS)/window.txt'
	sh tests/win32/wine_prefix.sh $(CURDIR)/$(BENCH_BUILD)/wine-prefix 96 true
	bash -o pipefail -c 'export WINEPREFIX=$(CURDIR)/$(BENCH_BUILD)/wine-prefix WINEDEBUG=-all; \
		wineserver -p; \
		$(BENCH_BUILD)/bench/start_up_launcher --runs $(BENCH_START_UP_RUNS) \
		$(foreach arch,$(WINDOWS_ARCHES),--windows $(WINDOWS_BUILD)/$(arch)/rotavel.exe \
			$(WINDOWS_BUILD)/$(arch)/bench/win32/bare_window_win32.exe) \
		$(BENCH_BUILD)/app/rotavel $(BENCH_BUILD)/bench/bare_window \
		| tee $(BENCH_RESULTS)/start_up.txt; status=$$?; wineserver -k; exit $$status'
	@for arch in $(WINDOWS_ARCHES); do \
		size=$$(stat -c %s $(WINDOWS_BUILD)/$$arch/rotavel.exe); \
		echo "| Windows program file $$arch/rotavel.exe | $$((size / 1024)) KiB | - | - | <= 1024 KiB |" \
			"$$([ $$size -le 1048576 ] && echo met || echo MISSED) |"; \
	done > $(BENCH_RESULTS)/windows.txt
	@{ echo "| measurement | result | compared with | ratio | target | |"; \
	   echo "|---|---|---|---|---|---|"; \
	   grep -h '^|' $(BENCH_RESULTS)/geometry.txt $(BENCH_RESULTS)/window.txt \
		$(BENCH_RESULTS)/start_up.txt $(BENCH_RESULTS)/windows.txt; } > $(BENCH_RESULTS)/table.md
	@echo; echo "Benchmarks on $$(nproc) cores, $$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'):"; \
	 cat $(BENCH_RESULTS)/table.md

# Fuzzing, not part of `make test` (which only replays the seed corpus): a
# clang build of its own in build-fuzz/ with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzz target for FUZZ_SECONDS on a
# copy of its seeds in build-fuzz/corpus/ (what it finds stays there, the
# seeds in fuzz/corpus/ are left alone). Inputs that break an invariant land
# in build-fuzz/findings/.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_PACKAGES = clang libclang-rt-14-dev
FUZZ_TARGETS = fuzz_locators fuzz_solver fuzz_number_text

.PHONY: fuzz
fuzz:
	$(call install_missing,$(BUILD_PACKAGES) $(FUZZ_PACKAGES))
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DROTAVEL_FUZZ=ON
	cmake --build $(FUZZ_BUILD) --target fuzzers
	mkdir -p $(FUZZ_BUILD)/findings
	@for t in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$t && cp fuzz/corpus/$$t/* $(FUZZ_BUILD)/corpus/$$t/ && \
		echo "== $$t, $(FUZZ_SECONDS) s" && \
		$(FUZZ_BUILD)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/findings/$$t- $(FUZZ_BUILD)/corpus/$$t \
			> $(FUZZ_BUILD)/$$t.log 2>&1; \
		status=$$?; \
		grep -E '^#[0-9]+' $(FUZZ_BUILD)/$$t.log | tail -n 1; \
		grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' $(FUZZ_BUILD)/$$t.log; \
		if [ $$status != 0 ]; then \
			tail -n 30 $(FUZZ_BUILD)/$$t.log; echo "$$t: finding in $(FUZZ_BUILD)/findings/"; \
			exit 1; \
		fi; \
	done
