#pragma once

// The background picture as a bitmap the Windows window can draw.

#include "Handles.h"

#include <string>

namespace orvanta::view_win32 {

/// A picture file (JPEG, PNG, BMP or GIF, the first frame) as a bitmap the window can draw; null when it
/// cannot be read or is no such picture.
struct Picture {
    UniqueBitmap bitmap;
    int width = 0;
    int height = 0;
};
Picture loadPicture(const std::string& hostPath);

} // namespace orvanta::view_win32
