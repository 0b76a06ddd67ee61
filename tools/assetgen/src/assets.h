// assets.h -- the list of files the generator knows how to make.
#ifndef ASSETGEN_ASSETS_H
#define ASSETGEN_ASSETS_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image.h"

struct AssetFile {
  std::string path;  // relative to the output root, forward slashes
  std::function<std::vector<uint8_t>()> make;
};

using AssetList = std::vector<AssetFile>;

// Registers a picture: a width x height texture painted at the given display
// aspect (0 = the texture's own). Pictures with alpha are written 32-bit.
// Each side is the largest power of two not above the most the game ever
// draws of it on a 1920x1080 screen: texels beyond that cost memory and
// loading time and show nothing. (The game-over title and its try-your-new-
// ship line keep their larger size: smaller, their letters read differently.)
void AddPicture(AssetList& out, const std::string& path, int width, int height, double aspect, bool alpha,
                std::function<void(Image&)> paint, bool dither = false);

void AddSpaceImages(AssetList& out);      // background, nebulae, planets, rocks, particles
void AddShipImages(AssetList& out);       // ships and what flies with them, gauges
void AddInterfaceImages(AssetList& out);  // menus, panels, lettering, logos
void AddRecordImages(AssetList& out);     // records panel, level label, new-record notice
void AddSounds(AssetList& out);           // effects and music

// Everything above, sorted by path.
AssetList AllAssets();

#endif
