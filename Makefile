# Set-up and everyday commands. Every target installs what is missing first.
PRESET ?= default
BUILD_DIR := $(if $(filter default,$(PRESET)),build,build-$(PRESET))
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench fuzz soak format clean install uninstall package deb

deps:
	@scripts/install-deps

configure: deps
	@test -f $(BUILD_DIR)/build.ninja || cmake --preset $(PRESET)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-app $(BUILD_DIR)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench: build
	@scripts/run-bench $(BUILD_DIR)

# A long run of plays, menu rebuilds and timer expiries under ASan and UBSan (a few
# minutes): make soak SOAK_ARGS="--plays=10000 --rebuilds=1000 --fires=600"
soak: deps
	@test -f build-asan/build.ninja || cmake --preset asan
	cmake --build build-asan -j $(JOBS) --target jbw_soak
	env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy build-asan/tests/soak/jbw_soak $(SOAK_ARGS)

# A fuzzing session of the INI engine, the sound-file path and the two ways a sound unit's
# contents arrive, in the fuzz preset's tree (build-fuzz); make test only replays their
# stored corpora: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 600
fuzz: deps
	scripts/fuzz ini_fuzzer $(FUZZ_SECONDS)
	scripts/fuzz wav_fuzzer $(FUZZ_SECONDS)
	scripts/fuzz unit_answer_fuzzer $(FUZZ_SECONDS)
	scripts/fuzz packed_unit_fuzzer $(FUZZ_SECONDS)

# A portable application folder the user owns, with a desktop menu entry:
#   make install [INSTALL_DIR=...] [AUTOSTART=1]    make uninstall [PURGE=1]
INSTALL_DIR ?= $(HOME)/.local/share/jabberwell
install: build
	@scripts/install-app --from $(BUILD_DIR)/app --to "$(INSTALL_DIR)" $(if $(filter 1,$(AUTOSTART)),--autostart)

uninstall:
	@scripts/install-app --uninstall --to "$(INSTALL_DIR)" $(if $(filter 1,$(PURGE)),--purge)

# A tarball of the program folder with its install script.
package: build
	@scripts/make-package $(BUILD_DIR)

# A Debian package; scripts/check-deb tries it on a clean Debian 12 (slow, needs root).
deb: build
	@scripts/make-deb $(BUILD_DIR)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-*
