#include "assets.h"

#include <algorithm>

void AddPicture(AssetList& out, const std::string& path, int width, int height, double aspect, bool alpha,
                std::function<void(Image&)> paint, bool dither) {
  out.push_back({path, [=]() {
                   Image img(width, height, aspect);
                   paint(img);
                   return EncodeTga(img, alpha, dither);
                 }});
}

AssetList AllAssets() {
  AssetList list;
  AddSpaceImages(list);
  AddShipImages(list);
  AddInterfaceImages(list);
  AddRecordImages(list);
  AddSounds(list);
  std::sort(list.begin(), list.end(), [](const AssetFile& a, const AssetFile& b) { return a.path < b.path; });
  return list;
}
