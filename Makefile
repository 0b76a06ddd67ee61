# Front door: `make run` plays, `make test` checks. Both install what is
# missing from Debian first. Release builds live in build/.
BUILD := build
JOBS := $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Release
# Under no display the tests get a virtual X server with real GL (Mesa).
XVFB := xvfb-run -a -s "-screen 0 1920x1080x24"

.PHONY: run test build deps deps-test clean assets deps-assets screenshots

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

# Remakes the README's pictures with the game's own frame capture.
screenshots: build
	@sh tools/install-deps.sh shots
	cmake --build $(BUILD) --target kelvaro_screenshots -j $(JOBS)
	rm -rf $(BUILD)/shots && mkdir -p $(BUILD)/shots/home/kelvaro/Data
	printf 001 > $(BUILD)/shots/home/kelvaro/Data/Option.txt
	XDG_DATA_HOME=$(CURDIR)/$(BUILD)/shots/home $(XVFB) ./$(BUILD)/kelvaro_screenshots $(BUILD)/shots
	for shot in menu play; do \
	  convert $(BUILD)/shots/$$shot.tga -auto-orient -resize 640x360 -strip docs/$$shot.png || exit 1; done
