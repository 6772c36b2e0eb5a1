# ZindoRumba: the two commands are `make run` and `make test` (see README.md).
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CTEST_ARGS ?=
WERROR := $(if $(filter true,$(CI)),ON,OFF)
CMAKE_FLAGS ?=

.PHONY: all run test build game deps configure test-asan test-tsan test-audio-sanitizers clean install uninstall package

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DZR_WERROR=$(WERROR) $(CMAKE_FLAGS) >$(BUILD_DIR).configure.log 2>&1 \
	  || { cat $(BUILD_DIR).configure.log; exit 1; }

# Set-up without running anything: packages, build, the game folder build/game/.
build: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS)

# Only what the game needs: the executable, the data generator and the data (build/game/).
game: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS) --target zindorumba game_data

run:
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display here; start one first: Xvfb :99 & then DISPLAY=:99 make run"; exit 1; fi
	@$(MAKE) --no-print-directory game
	@cd $(BUILD_DIR)/game && ./zindorumba

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS) $(CTEST_ARGS)

# Installs the game under PREFIX (staged under DESTDIR when given): the executable in
# PREFIX/games, its data in PREFIX/share/games/zindorumba, the menu entry, icons, metainfo and
# man page. Every file installed is listed in $(BUILD_DIR)/install_manifest.txt, and every
# folder the install made (none of them there before) in $(BUILD_DIR)/install_folders.txt;
# uninstall reads both (give it the same DESTDIR).
PREFIX ?= /usr/local
INSTALLED_TARGETS := zindorumba zindo-editor game_data screenshot manpage
DESTDIR ?=
install: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS) --target $(INSTALLED_TARGETS)
	@p="$(abspath $(DESTDIR)$(PREFIX))"; { find "$$p" -type d 2>/dev/null; \
	  while [ "$$p" != / ]; do p=$$(dirname "$$p"); [ -d "$$p" ] && echo "$$p"; done; } >$(BUILD_DIR)/install_folders.before; true
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)" >$(BUILD_DIR).install.log 2>&1 \
	  || { cat $(BUILD_DIR).install.log; exit 1; }
	@cmake -DMANIFEST="$(abspath $(BUILD_DIR))/install_manifest.txt" -DDESTDIR="$(if $(DESTDIR),$(abspath $(DESTDIR)))" \
	  -DBEFORE="$(abspath $(BUILD_DIR))/install_folders.before" -DFOLDERS="$(abspath $(BUILD_DIR))/install_folders.txt" \
	  -P tools/install-folders.cmake
	@echo "installed $$(grep -c '' $(BUILD_DIR)/install_manifest.txt) files: $(DESTDIR)$(PREFIX)/games/zindorumba," \
	  "$(DESTDIR)$(PREFIX)/share/games/zindorumba/, the menu entry, icons, metainfo and man page" \
	  "(list: $(BUILD_DIR)/install_manifest.txt)"
uninstall:
	@cmake -DMANIFEST="$(abspath $(BUILD_DIR))/install_manifest.txt" -DFOLDERS="$(abspath $(BUILD_DIR))/install_folders.txt" \
	  -DDESTDIR="$(DESTDIR)" -P tools/uninstall.cmake

# The Debian package, $(BUILD_DIR)/zindorumba_VERSION_ARCH.deb (tools/package/make-deb.sh).
package: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS) --target deb

# The suite under AddressSanitizer + UndefinedBehaviorSanitizer, or ThreadSanitizer, each in
# its own build folder. CTEST_ARGS narrows it, e.g. CTEST_ARGS="-L audio".
# Any report fails the test that caused it.
test-asan:
	@UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan-system.supp \
	  $(MAKE) --no-print-directory test BUILD_DIR=build-asan CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZR_SANITIZE=address,undefined"
test-tsan:
	@TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	  $(MAKE) --no-print-directory test BUILD_DIR=build-tsan CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZR_SANITIZE=thread"
# The sound engine (its music streams run a thread each) under both.
test-audio-sanitizers:
	@$(MAKE) --no-print-directory test-asan CTEST_ARGS="-L audio"
	@$(MAKE) --no-print-directory test-tsan CTEST_ARGS="-L audio"

clean:
	rm -rf build build-asan build-tsan build*.configure.log build*.install.log

# Fuzzing: every reader of outside bytes under libFuzzer with ASan+UBSan (clang) in build-fuzz/,
# FUZZ_SECONDS each; FUZZ_READERS narrows, e.g. FUZZ_READERS="ini picture". Fails on any find.
FUZZ_SECONDS ?= 30
FUZZ_READERS ?=
.PHONY: fuzz clean-fuzz
fuzz: deps
	@cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZR_FUZZ=ON -DZR_SANITIZE=fuzzer-no-link,address,undefined >build-fuzz.configure.log 2>&1 \
	  || { cat build-fuzz.configure.log; exit 1; }
	@cmake --build build-fuzz --target fuzz_targets -j$(JOBS)
	@tools/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS) $(FUZZ_READERS)

# The replay tests (the game's own code played from scripts, music threads and all) under
# ThreadSanitizer.
.PHONY: test-tsan-replay
test-tsan-replay:
	@$(MAKE) --no-print-directory test-tsan CTEST_ARGS="-L replay"
clean: clean-fuzz
clean-fuzz:
	rm -rf build-fuzz build-fuzz.configure.log
