#pragma once
// The README's pictures, each drawn by the program itself on the headless
// screen: a fresh main window per picture, driven through its own controls
// as a person would, and the screen area of the windows that matter saved
// as PNG.

#include <string>
#include <vector>

#include "platform/Types.h"

namespace zel::shot {

// One written picture, with the places a check can probe, in the picture's
// own coordinates (empty rectangles where the picture has no such part).
struct Picture {
  std::string name; // the file name, e.g. "map-xp.png"
  std::string path;
  sys::RECT area{};    // the screen area saved
  sys::RECT menuBar{}; // the main window's menu bar
  sys::RECT menu{};    // the open menu
  sys::RECT window{};  // the other top-level window shown: floating editor, dialog
  int menuRows = 0;    // the open menu's rows (items, separators, expand button)
};

// The file names of every picture, in the order they are made.
std::vector<std::string> PictureNames();

// Makes the pictures named (every picture when names is empty) in folder,
// which must exist.  Raises when a picture cannot be made or written.
std::vector<Picture> WritePictures(const std::string& folder,
                                   const std::vector<std::string>& names = {});

} // namespace zel::shot
