// Presses the controls of another program's dialogs for the end-to-end drivers and the screenshot
// scenes: by control id, never by a point on the screen, which every other font or DPI moves.
//   control_probe click TITLE ID    posts BM_CLICK to control ID of the visible window titled TITLE
//   control_probe page TITLE INDEX  shows page INDEX of the property sheet TITLE, prints "Page=caption"
//   control_probe power TITLE EVENT sends WM_POWERBROADCAST with EVENT (a PBT_ number) to the
//                                   top-level window TITLE, shown or hidden, as the system does
//                                   around a sleep; prints "Result=n" once it was handled
// Exits 0 when done, 2 when no visible window has that title, 3 when it has no such control or
// page, 4 when the control is disabled (a user could not press it either).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int kNoWindow = 2;
constexpr int kNoControl = 3;
constexpr int kDisabled = 4;

struct Search {
  const wchar_t* title;
  int id;
  HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t text[256];
  if (IsWindowVisible(window) && GetWindowTextW(window, text, 256) > 0 && std::wcscmp(text, search->title) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK MatchId(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (GetDlgCtrlID(window) == search->id && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleTopLevel(const wchar_t* title) {
  Search search{title, 0, nullptr};
  EnumWindows(&MatchTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A dialog's own buttons first, then the controls of its visible child dialogs (a sheet's page):
// the sheet's OK and a page's control never get mixed up even if they shared an id.
HWND VisibleControl(HWND dialog, int id) {
  HWND own = GetDlgItem(dialog, id);
  if (own && IsWindowVisible(own)) return own;
  Search search{nullptr, id, nullptr};
  EnumChildWindows(dialog, &MatchId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Posted rather than sent: a press that opens a modal box must not hold this probe until it closes.
int Click(HWND dialog, int id) {
  HWND control = VisibleControl(dialog, id);
  if (!control) return kNoControl;
  if (!IsWindowEnabled(control)) return kDisabled;
  return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : kNoControl;
}

// Sent with a time limit, so that the page is shown when the probe returns.
int ShowPage(HWND sheet, int index) {
  DWORD_PTR shown = 0;
  if (!SendMessageTimeoutW(sheet, PSM_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 10000, &shown) || !shown) {
    return kNoControl;
  }
  DWORD_PTR page = 0;
  SendMessageTimeoutW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, 10000, &page);
  wchar_t caption[256] = L"";
  if (page) GetWindowTextW(reinterpret_cast<HWND>(page), caption, 256);
  char utf8[1024] = "";
  WideCharToMultiByte(CP_UTF8, 0, caption, -1, utf8, sizeof utf8, nullptr, nullptr);
  std::printf("Page=%s\n", utf8);
  return 0;
}

int SendPower(const wchar_t* title, int event) {
  HWND window = FindWindowW(nullptr, title);
  if (!window) return kNoWindow;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, WM_POWERBROADCAST, event, 0, SMTO_ABORTIFHUNG, 10000, &result)) return kNoControl;
  std::printf("Result=%lu\n", static_cast<unsigned long>(result));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: control_probe click TITLE ID | page TITLE INDEX | power TITLE EVENT\n");
    return 1;
  }
  const std::wstring command = argv[1];
  if (command == L"power") return SendPower(argv[2], static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
  HWND window = VisibleTopLevel(argv[2]);
  if (!window) return kNoWindow;
  const int number = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
  if (command == L"click") return Click(window, number);
  if (command == L"page") return ShowPage(window, number);
  std::fprintf(stderr, "unknown command\n");
  return 1;
}
