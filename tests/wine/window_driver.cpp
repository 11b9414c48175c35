#include "window_driver.h"

#include <chrono>
#include <thread>

namespace pelo::wine {

namespace {

constexpr auto kDeadline = std::chrono::seconds(60);
constexpr auto kPoll = std::chrono::milliseconds(20);

struct DialogSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  char className[16] = {};
  ::GetClassNameA(window, className, sizeof className);
  if (std::string(className) == "#32770" && ::GetWindow(window, GW_OWNER) == search->owner &&
      ::IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectControl(HWND child, LPARAM param) {
  auto* controls = reinterpret_cast<std::vector<Control>*>(param);
  HWND dialog = ::GetParent(child);
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  controls->push_back({LOWORD(::GetDlgCtrlID(child)), WindowText(child), rect});
  return TRUE;
}

}  // namespace

HWND WaitForOwnedDialog(DWORD thread, HWND owner) {
  const auto deadline = std::chrono::steady_clock::now() + kDeadline;
  while (std::chrono::steady_clock::now() < deadline) {
    DialogSearch search{owner, nullptr};
    ::EnumThreadWindows(thread, MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    std::this_thread::sleep_for(kPoll);
  }
  return nullptr;
}

bool WaitUntilGone(HWND window) {
  const auto deadline = std::chrono::steady_clock::now() + kDeadline;
  while (::IsWindow(window)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPoll);
  }
  return true;
}

std::string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

std::vector<std::string> ComboEntries(HWND combo) {
  std::vector<std::string> entries;
  const LRESULT count = ::SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, i, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    ::SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    entries.push_back(text);
  }
  return entries;
}

std::vector<Control> DialogControls(HWND dialog) {
  std::vector<Control> controls;
  ::EnumChildWindows(dialog, CollectControl, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height) {
  // Position and size are converted apart, as the dialog manager does when
  // it creates the controls; converting the right edge itself can round to
  // a different pixel.
  RECT origin{x, y, 0, 0};
  RECT size{0, 0, width, height};
  ::MapDialogRect(dialog, &origin);
  ::MapDialogRect(dialog, &size);
  return {origin.left, origin.top, origin.left + size.right, origin.top + size.bottom};
}

void Press(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

}  // namespace pelo::wine
