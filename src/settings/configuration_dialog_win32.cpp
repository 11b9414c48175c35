// The configuration dialog on Windows: template IDD_CONFIGURATION from this
// module's own resources, run modally over the host's window. Its texts are
// code page 932, as the rest of the module's.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/module_path.h"
#include "settings/configuration_dialog.h"
#include "settings/configuration_dialog_resource.h"
#include "settings/layer_bond.h"

namespace pelo {

namespace {

// "設定データは " and " に保存されます。", around the settings path.
constexpr char kPathTextBefore[] = "\x90\xdd\x92\xe8\x83\x66\x81\x5b\x83\x5e\x82\xcd ";
constexpr char kPathTextAfter[] =
    " \x82\xc9\x95\xdb\x91\xb6\x82\xb3\x82\xea\x82\xdc\x82\xb7\x81\x42";
// "設定データの保存に失敗しました。書き込み権限等を確認してください。"
constexpr char kWriteFailedText[] =
    "\x90\xdd\x92\xe8\x83\x66\x81\x5b\x83\x5e\x82\xcc\x95\xdb\x91\xb6\x82\xc9\x8e\xb8\x94\x73"
    "\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x8c\xa0\x8c\xc0"
    "\x93\x99\x82\xf0\x8a\x6d\x94\x46\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";

HMODULE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

// The module's file name without folder and extension: "Pelo2SPI".
std::string ModuleTitle() {
  std::string path = GetModulePath();
  const std::size_t slash = path.find_last_of("\\/");
  if (slash != std::string::npos) path.erase(0, slash + 1);
  const std::size_t dot = path.rfind('.');
  if (dot != std::string::npos) path.erase(dot);
  return path;
}

std::uint32_t ReadLe(const std::uint8_t* at, std::size_t bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = bytes; i-- > 0;) value = (value << 8) | at[i];
  return value;
}

// Adds the list entries that the dialog's initialisation data holds. Entries
// that run past the end of the data, or whose text lacks its terminating
// zero, stop the walk: the data comes from our own resources, so a damaged
// entry means a broken build, not something to guess around.
void ApplyInitData(HWND dialog, HMODULE module) {
  HRSRC info = ::FindResourceA(module, MAKEINTRESOURCEA(IDD_CONFIGURATION),
                               MAKEINTRESOURCEA(RT_DIALOG_INIT));
  if (info == nullptr) return;
  HGLOBAL loaded = ::LoadResource(module, info);
  const auto* data = static_cast<const std::uint8_t*>(::LockResource(loaded));
  if (data == nullptr) return;
  const std::size_t size = ::SizeofResource(module, info);
  constexpr std::size_t kEntryHeader = 8;  // control id, message, byte count
  for (std::size_t at = 0; at + kEntryHeader <= size;) {
    const std::uint32_t control = ReadLe(data + at, 2);
    if (control == 0) break;
    const std::uint32_t message = ReadLe(data + at + 2, 2);
    const std::uint32_t count = ReadLe(data + at + 4, 4);
    at += kEntryHeader;
    if (count > size - at) break;
    const auto* text = reinterpret_cast<const char*>(data + at);
    if (count == 0 || text[count - 1] != '\0') break;
    if (message == DIALOG_INIT_CB_ADDSTRING)
      ::SendDlgItemMessageA(dialog, static_cast<int>(control), CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(text));
    at += count;
  }
}

void OnInitDialog(HWND dialog, int layerBond) {
  ApplyInitData(dialog, ThisModule());
  const LRESULT count = ::SendDlgItemMessageA(dialog, IDC_LAYER_BOND, CB_GETCOUNT, 0, 0);
  // A stored value without an entry (hand-edited INI) shows an empty choice
  // rather than a guess.
  const WPARAM index = layerBond >= 0 && layerBond < count ? static_cast<WPARAM>(layerBond)
                                                           : static_cast<WPARAM>(-1);
  ::SendDlgItemMessageA(dialog, IDC_LAYER_BOND, CB_SETCURSEL, index, 0);
  const std::string text = kPathTextBefore + SettingsPath() + kPathTextAfter;
  ::SetDlgItemTextA(dialog, IDC_SETTINGS_PATH, text.c_str());
}

// Stores the choice (-1 when nothing is chosen) and closes the dialog; when
// the INI file cannot be written the user is told and the dialog stays, so
// the choice is not lost silently and Cancel remains the way out.
void OnOk(HWND dialog) {
  const LRESULT selected = ::SendDlgItemMessageA(dialog, IDC_LAYER_BOND, CB_GETCURSEL, 0, 0);
  if (WriteLayerBond(static_cast<int>(selected))) {
    ::EndDialog(dialog, IDOK);
    return;
  }
  const std::string caption = ModuleTitle();
  ::MessageBoxA(dialog, kWriteFailedText, caption.c_str(), MB_OK);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, static_cast<int>(lParam));
      return TRUE;  // default focus
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          OnOk(dialog);
          return TRUE;
        case IDCANCEL:
          ::EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

int RunConfigurationDialog(void* parentWindow) {
  // Read before the window exists, so the dialog shows the stored value even
  // if the file changes while it is open.
  const int layerBond = ReadLayerBond();
  const INT_PTR result = ::DialogBoxParamA(ThisModule(), MAKEINTRESOURCEA(IDD_CONFIGURATION),
                                           static_cast<HWND>(parentWindow), DialogProc,
                                           static_cast<LPARAM>(layerBond));
  // -1: the dialog could not be created at all (no template, no desktop).
  return result == -1 ? -1 : 0;
}

}  // namespace pelo
