# Front door: `make run` plays, `make test` checks. Both install what is
# missing from Debian first. Release builds live in build/.
BUILD := build
JOBS := $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Release
# Under no display the tests get a virtual X server with real GL (Mesa).
XVFB := xvfb-run -a -s "-screen 0 1920x1080x24"

.PHONY: run test build deps deps-test clean assets deps-assets screenshots deb references

run: deps build
	./$(BUILD)/kelvaro

test: deps-test
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DKELVARO_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && if [ -n "$$DISPLAY" ]; then ctest --output-on-failure -j $(JOBS); \
	else $(XVFB) ctest --output-on-failure -j $(JOBS); fi

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

deps:
	@sh tools/install-deps.sh run

deps-test:
	@sh tools/install-deps.sh test

clean:
	rm -rf $(BUILD)

# The Debian packages kelvaro and kelvaro-data, built from a copy of the tree
# in $(BUILD)/deb, checked by lintian and copied here for `apt install ./...`.
deb:
	@sh tools/install-deps.sh deb
	sh tools/build-deb.sh $(BUILD)/deb
	lintian --info --fail-on error,warning $(BUILD)/deb/kelvaro_*.changes
	cp $(BUILD)/deb/kelvaro_*.deb $(BUILD)/deb/kelvaro-data_*.deb .

# Rewrites the reference frames and digests in tests/references from scripted
# runs of this build (a shot renamed or dropped leaves no file behind); review
# them (git diff, the pictures) before committing.
references: deps-test
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DKELVARO_WERROR=ON
	cmake --build $(BUILD) --target kelvaro_tests -j $(JOBS)
	rm -f tests/references/*.ppm tests/references/*.txt
	cd $(BUILD) && if [ -n "$$DISPLAY" ]; then KELVARO_UPDATE_REFERENCES=1 ctest -j $(JOBS) -R '^Runs/References\.'; \
	else KELVARO_UPDATE_REFERENCES=1 $(XVFB) ctest -j $(JOBS) -R '^Runs/References\.'; fi

# Regenerates every picture and sound into assets/; commit the result.
assets: deps-assets
	cmake -S tools/assetgen -B $(BUILD)/assetgen $(CMAKE_FLAGS)
	cmake --build $(BUILD)/assetgen -j $(JOBS)
	rm -rf $(BUILD)/assets-new
	./$(BUILD)/assetgen/kelvaro-assetgen $(BUILD)/assets-new > /dev/null
	rm -rf assets/Graphic_Assets assets/Audio_Assets assets/Icons
	mv $(BUILD)/assets-new/Graphic_Assets $(BUILD)/assets-new/Audio_Assets $(BUILD)/assets-new/Icons assets/

deps-assets:
	@sh tools/install-deps.sh assets

# Remakes the README's pictures with the game's own frame capture, and the
# pictures of the records screens under docs/records/.
screenshots: build
	@sh tools/install-deps.sh shots
	cmake --build $(BUILD) --target kelvaro_screenshots -j $(JOBS)
	rm -rf $(BUILD)/shots && mkdir -p $(BUILD)/shots/home/kelvaro/Data
	printf 001 > $(BUILD)/shots/home/kelvaro/Data/Option.txt
	XDG_DATA_HOME=$(CURDIR)/$(BUILD)/shots/home $(XVFB) ./$(BUILD)/kelvaro_screenshots $(BUILD)/shots
	for shot in menu play; do \
	  convert $(BUILD)/shots/$$shot.tga -auto-orient -resize 640x360 -strip docs/$$shot.png || exit 1; done
	@# The records screens at each resolution: docs/records/<screen>-<width>x<height>.png.
	mkdir -p docs/records
	for size in 0:1024x768 1:1280x720 2:1920x1080; do \
	  res=$${size%%:*}; name=$${size#*:}; dir=$(BUILD)/shots-$$name; \
	  rm -rf $$dir && mkdir -p $$dir/home/kelvaro/Data && \
	  printf 00$$res > $$dir/home/kelvaro/Data/Option.txt && printf 02 > $$dir/home/kelvaro/Data/UnlockShip.txt && \
	  printf 0 > $$dir/home/kelvaro/Data/Tutorial.txt && cp tools/screenshots/Scores.txt $$dir/home/kelvaro/Data/ && \
	  XDG_DATA_HOME=$(CURDIR)/$$dir/home $(XVFB) ./$(BUILD)/kelvaro_screenshots $$dir records && \
	  for shot in select play gameover; do \
	    convert $$dir/$$shot.tga -auto-orient -resize 640x -strip docs/records/$$shot-$$name.png || exit 1; done; \
	done

# --- Benchmarks -----------------------------------------------------------------
# `make bench` builds bench/ and prints one table of timings (a few minutes);
# BENCH_ARGS=--quick gives a short smoke run whose figures mean little.
.PHONY: bench
bench: deps-test
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target kelvaro_bench -j $(JOBS)
	if [ -n "$$DISPLAY" ]; then ./$(BUILD)/kelvaro_bench $(BENCH_ARGS); \
	else $(XVFB) ./$(BUILD)/kelvaro_bench $(BENCH_ARGS); fi

# --- Reliability ----------------------------------------------------------------
# `make test` also runs the suite built with gcc's AddressSanitizer, UBSan and
# LeakSanitizer (build-asan; alone: `make test-sanitized`); the leaks of
# third-party libraries it may ignore are in tests/sanitizers/lsan.supp.
# `make fuzz` runs each libFuzzer target for FUZZ_SECONDS (clang, build-fuzz;
# findings land in build-fuzz/findings).
# `make soak` plays SOAK_MINUTES of game time headless and prints the memory
# series.
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS := 60
SOAK_MINUTES := 30
SANITIZE := -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all -fno-omit-frame-pointer
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0
# The GoogleTest cases but the reference runs (Runs/References.*), whose
# pictures and digests are those of the release build.
SANITIZED_TESTS := -R '^[A-Za-z]+\.'
FUZZ_FLAGS := -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
FUZZ_LIMITS := -max_len=9000 -rss_limit_mb=512 -malloc_limit_mb=64 -close_fd_mask=2 -print_final_stats=1

.PHONY: test-sanitized fuzz soak clean-reliability
test: test-sanitized
clean: clean-reliability

test-sanitized: deps-test
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARO_WERROR=ON \
	  "-DCMAKE_CXX_FLAGS=$(SANITIZE)" "-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZE)"
	cmake --build $(ASAN_BUILD) --target kelvaro_tests -j $(JOBS)
	cd $(ASAN_BUILD) && if [ -n "$$DISPLAY" ]; then \
	  $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) $(SANITIZED_TESTS); \
	else $(SANITIZER_ENV) $(XVFB) ctest --output-on-failure -j $(JOBS) $(SANITIZED_TESTS); fi

fuzz:
	@sh tools/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DKELVARO_TESTS=OFF -DKELVARO_FUZZ=ON "-DCMAKE_CXX_FLAGS=$(FUZZ_FLAGS)"
	cmake --build $(FUZZ_BUILD) --target kelvaro_fuzz_tga kelvaro_fuzz_savedfiles kelvaro_fuzz_scores -j $(JOBS)
	for input in tga savedfiles scores; do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$input $(FUZZ_BUILD)/findings && \
	  ./$(FUZZ_BUILD)/kelvaro_fuzz_$$input -max_total_time=$(FUZZ_SECONDS) $(FUZZ_LIMITS) \
	    -artifact_prefix=$(FUZZ_BUILD)/findings/$$input- \
	    $(FUZZ_BUILD)/corpus/$$input tests/fuzz/corpus/$$input || exit 1; \
	done

soak: deps-test
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target kelvaro_soak -j $(JOBS)
	if [ -n "$$DISPLAY" ]; then ./$(BUILD)/kelvaro_soak $(SOAK_MINUTES); \
	else $(XVFB) ./$(BUILD)/kelvaro_soak $(SOAK_MINUTES); fi

clean-reliability:
	rm -rf $(ASAN_BUILD) $(FUZZ_BUILD)
