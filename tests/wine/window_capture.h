// A picture of a window as it is on the screen, saved as a PNG file for a
// person to look at (wine's font substitution is the usual suspect when the
// Japanese texts of a dialog come out wrong).
#pragma once

#include <windows.h>

#include <string>

namespace pelo::wine {

// Repaints window, copies its screen area and writes it to path as an RGB
// PNG. False when anything fails.
bool SaveWindowPng(HWND window, const std::string& path);

}  // namespace pelo::wine
