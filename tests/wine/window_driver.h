// Acting on another thread's windows the way a user would: the thread that
// runs a modal dialog is blocked inside the module, so the test looks at and
// presses its controls from a second thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace pelo::wine {

// The first visible dialog-class window of thread that owner owns, once it
// appears; null when none does within a generous deadline (a hang, not a
// slow machine).
HWND WaitForOwnedDialog(DWORD thread, HWND owner);
// True once window is destroyed; false when it outlives the deadline.
bool WaitUntilGone(HWND window);

std::string WindowText(HWND window);
std::vector<std::string> ComboEntries(HWND combo);

// A child control as laid out: its id (low word) and its rectangle in the
// dialog's client coordinates.
struct Control {
  WORD id;
  std::string text;
  RECT rect;
};
// Children of dialog in creation (tab) order.
std::vector<Control> DialogControls(HWND dialog);
// Dialog units to pixels, with the dialog's own font: where the dialog
// manager puts a control laid out at x, y, width, height.
RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height);

// Clicks button id without waiting for what the click does (it may open a
// nested modal loop).
void Press(HWND dialog, int id);

}  // namespace pelo::wine
