// ConfigurationDlg(parent, 1) as a viewer calls it from its menu: a modal
// dialog over the viewer's window that edits LayerBond in the INI file
// beside the module. Needs an X display under wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "plugin_module.h"
#include "window_capture.h"
#include "window_driver.h"

namespace pelo::wine {

// Where the fresh-installation case leaves a picture of the dialog; empty
// for none. Set by main from --screenshot=PATH.
std::string& ScreenshotPath() {
  static std::string path;
  return path;
}

namespace {

// The texts, in code page 932.
const std::string kVisibleOnly =
    "\x89\xc2\x8e\x8b\x83\x8c\x83\x43\x83\x84\x82\xcc\x82\xdd\x8d\x87\x90\xac\x82\xb7\x82\xe9";
const std::string kAllLayers =
    "\x91\x53\x83\x8c\x83\x43\x83\x84\x82\xf0\x8d\x87\x90\xac\x82\xb7\x82\xe9";
const std::string kCancel = "\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b";
const std::string kGroup = "\x90\xdd\x92\xe8";
const std::string kLabel = "\x83\x8c\x83\x43\x83\x84\x8d\x87\x90\xac(&L) :   ";
const std::string kPathBefore = "\x90\xdd\x92\xe8\x83\x66\x81\x5b\x83\x5e\x82\xcd ";
const std::string kPathAfter = " \x82\xc9\x95\xdb\x91\xb6\x82\xb3\x82\xea\x82\xdc\x82\xb7\x81\x42";
const std::string kWriteFailed =
    "\x90\xdd\x92\xe8\x83\x66\x81\x5b\x83\x5e\x82\xcc\x95\xdb\x91\xb6\x82\xc9\x8e\xb8\x94\x73"
    "\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x8c\xa0\x8c\xc0"
    "\x93\x99\x82\xf0\x8a\x6d\x94\x46\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";

constexpr int kCombo = 1000;
constexpr int kPathText = 1001;
constexpr WORD kNoId = 0xFFFF;

std::optional<std::string> ReadFileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The value of LayerBond in section Config of an INI text, as written.
std::optional<std::string> StoredLayerBond(const std::string& ini) {
  std::istringstream lines(ini);
  std::string line;
  bool inConfig = false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inConfig = line == "[Config]";
    } else if (inConfig && line.rfind("LayerBond=", 0) == 0) {
      return line.substr(10);
    }
  }
  return std::nullopt;
}

// What the user sees when the dialog opens.
struct DialogView {
  bool found = false;
  HWND owner = nullptr;
  std::string caption;
  std::vector<std::string> entries;
  LRESULT selection = -2;
  std::vector<Control> controls;
  RECT client{};
  RECT expectedClient{};
  std::vector<RECT> expectedRects;  // one per control, in dialog units mapped to pixels
};

DialogView Look(HWND dialog) {
  DialogView view;
  view.found = true;
  view.owner = ::GetWindow(dialog, GW_OWNER);
  view.caption = WindowText(dialog);
  HWND combo = ::GetDlgItem(dialog, kCombo);
  view.entries = ComboEntries(combo);
  view.selection = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
  view.controls = DialogControls(dialog);
  ::GetClientRect(dialog, &view.client);
  view.expectedClient = DialogUnitsToPixels(dialog, 0, 0, 238, 134);
  for (const RECT& r : {RECT{181, 7, 50, 14}, RECT{181, 24, 50, 14}, RECT{7, 7, 167, 120},
                        RECT{14, 21, 49, 8}, RECT{14, 31, 117, 104}, RECT{14, 84, 152, 36}})
    view.expectedRects.push_back(DialogUnitsToPixels(dialog, r.left, r.top, r.right, r.bottom));
  return view;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(window, message, wParam, lParam);
}

// A viewer's main window, the parent the module gets.
class HostWindow {
 public:
  HostWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PeloTestViewer";
    ::RegisterClassA(&windowClass);
    window_ = ::CreateWindowA("PeloTestViewer", "viewer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              640, 480, nullptr, nullptr, windowClass.hInstance, nullptr);
  }
  ~HostWindow() {
    if (window_ != nullptr) ::DestroyWindow(window_);
  }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND Get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

class ConfigurationDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module_.Loaded());
    ASSERT_NE(host_.Get(), nullptr) << "no window: is there an X display?";
    ::DeleteFileA(module_.IniPath().c_str());
  }
  void TearDown() override { ::DeleteFileA(module_.IniPath().c_str()); }

  // Calls ConfigurationDlg(host, 1) on this thread; script runs on a second
  // thread with the dialog once it shows. Whatever the script leaves open
  // is cancelled so that a failing case cannot hang the run.
  int Run(const std::function<void(HWND)>& script) {
    const DWORD thread = ::GetCurrentThreadId();
    std::thread driver([&] {
      HWND dialog = WaitForOwnedDialog(thread, host_.Get());
      if (dialog == nullptr) return;
      script(dialog);
      if (::IsWindow(dialog)) {
        ADD_FAILURE() << "the dialog stayed open";
        Press(dialog, IDCANCEL);
      }
    });
    const int result = module_.configurationDlg(host_.Get(), 1);
    driver.join();
    return result;
  }

  std::string ExpectedPathText() const { return kPathBefore + module_.IniPath() + kPathAfter; }

  PluginModule module_;
  HostWindow host_;
};

TEST_F(ConfigurationDialog, ShowsTheResourceLayoutAndTexts) {
  DialogView view;
  const int result = Run([&](HWND dialog) {
    view = Look(dialog);
    if (!ScreenshotPath().empty()) {
      EXPECT_TRUE(SaveWindowPng(dialog, ScreenshotPath())) << ScreenshotPath();
    }
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(WaitUntilGone(dialog));
  });
  EXPECT_EQ(result, 0);
  ASSERT_TRUE(view.found);
  EXPECT_EQ(view.owner, host_.Get());
  EXPECT_EQ(view.caption, "PELO2 Susie Plug-in");
  EXPECT_EQ(view.client.right - view.client.left,
            view.expectedClient.right - view.expectedClient.left);
  EXPECT_EQ(view.client.bottom - view.client.top,
            view.expectedClient.bottom - view.expectedClient.top);

  struct Expected {
    WORD id;
    std::string text;
  };
  const Expected expected[] = {{IDOK, "OK"},           {IDCANCEL, kCancel},
                               {kNoId, kGroup},        {kNoId, kLabel},
                               {kCombo, kVisibleOnly}, {kPathText, ExpectedPathText()}};
  ASSERT_EQ(view.controls.size(), std::size(expected));
  for (std::size_t i = 0; i < view.controls.size(); ++i) {
    SCOPED_TRACE(i);
    const Control& control = view.controls[i];
    EXPECT_EQ(control.id, expected[i].id);
    EXPECT_EQ(control.text, expected[i].text);
    const RECT& want = view.expectedRects[i];
    EXPECT_EQ(control.rect.left, want.left);
    EXPECT_EQ(control.rect.top, want.top);
    EXPECT_EQ(control.rect.right, want.right);
    // A drop-down list is as tall as its closed box; the height in the
    // layout is that of the open list.
    if (control.id != kCombo) {
      EXPECT_EQ(control.rect.bottom, want.bottom);
    }
  }
}

TEST_F(ConfigurationDialog, OkStoresTheChoiceAndCancelStoresNothing) {
  enum class Action { kOk, kChooseAllThenOk, kCancel };
  struct Case {
    const char* what;
    std::optional<std::string> storedIni;
    LRESULT shownSelection;
    Action action;
    std::optional<std::string> writtenValue;  // nullopt: the file is left as it was
  };
  const Case cases[] = {
      {"fresh installation", std::nullopt, 0, Action::kOk, "0"},
      {"visible layers only", "[Config]\r\nLayerBond=0\r\n", 0, Action::kOk, "0"},
      {"all layers", "[Config]\r\nLayerBond=1\r\n", 1, Action::kOk, "1"},
      {"value without an entry", "[Config]\r\nLayerBond=2\r\n", -1, Action::kOk, "-1"},
      {"user changes the choice", "[Config]\r\nLayerBond=0\r\n", 0, Action::kChooseAllThenOk, "1"},
      {"cancelled", "[Config]\r\nLayerBond=1\r\n", 1, Action::kCancel, std::nullopt},
      {"cancelled, fresh installation", std::nullopt, 0, Action::kCancel, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string ini = module_.IniPath();
    ::DeleteFileA(ini.c_str());
    if (c.storedIni) WriteFileText(ini, *c.storedIni);

    DialogView view;
    const int result = Run([&](HWND dialog) {
      view = Look(dialog);
      if (c.action == Action::kChooseAllThenOk)
        ::SendDlgItemMessageA(dialog, kCombo, CB_SETCURSEL, 1, 0);
      Press(dialog, c.action == Action::kCancel ? IDCANCEL : IDOK);
      EXPECT_TRUE(WaitUntilGone(dialog));
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(::IsWindow(host_.Get())) << "the viewer's window was destroyed";
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.entries, (std::vector<std::string>{kVisibleOnly, kAllLayers}));
    EXPECT_EQ(view.selection, c.shownSelection);

    const std::optional<std::string> after = ReadFileText(ini);
    if (c.writtenValue) {
      ASSERT_TRUE(after.has_value()) << "no INI file at " << ini;
      EXPECT_EQ(StoredLayerBond(*after), c.writtenValue) << *after;
    } else {
      EXPECT_EQ(after, c.storedIni);
    }
  }
}

// Another program holds the INI file open without sharing: the write fails,
// the user is told, and the dialog stays open until cancelled.
TEST_F(ConfigurationDialog, AFailedWriteIsReportedAndTheDialogStays) {
  const std::string ini = module_.IniPath();
  WriteFileText(ini, "[Config]\r\nLayerBond=1\r\n");
  HANDLE lock = ::CreateFileA(ini.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);

  bool boxFound = false;
  std::string boxCaption, boxText;
  bool openAfterBox = false;
  const int result = Run([&](HWND dialog) {
    Press(dialog, IDOK);
    HWND box = WaitForOwnedDialog(::GetWindowThreadProcessId(dialog, nullptr), dialog);
    if (box == nullptr) return;
    boxFound = true;
    boxCaption = WindowText(box);
    // A message box shows its text in a static control of id 0xFFFF.
    boxText = WindowText(::GetDlgItem(box, kNoId));
    Press(box, IDOK);
    EXPECT_TRUE(WaitUntilGone(box));
    openAfterBox = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(WaitUntilGone(dialog));
  });
  ::CloseHandle(lock);

  EXPECT_EQ(result, 0);
  ASSERT_TRUE(boxFound) << "no message box after a failed write";
  EXPECT_EQ(boxCaption, "Pelo2SPI");
  EXPECT_EQ(boxText, kWriteFailed);
  EXPECT_TRUE(openAfterBox);
  EXPECT_EQ(ReadFileText(ini), "[Config]\r\nLayerBond=1\r\n");
}

}  // namespace
}  // namespace pelo::wine
