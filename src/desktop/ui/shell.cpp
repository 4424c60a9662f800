// The shell seam's real side.
#include "desktop/ui/shell.h"

#include <shellapi.h>

namespace veltrano::ui {

bool SystemShell::Open(HWND owner, const std::wstring& verb, const std::wstring& target, int showCommand) {
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteW(owner, verb.c_str(), target.c_str(), nullptr, nullptr, showCommand));
  return result > 32;
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return L".\\";
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

bool OpenHelpTopic(HWND owner, const wchar_t* topic) {
  const std::wstring helpFile = ProgramFolder() + L"Pellacor.chm";
  if (GetFileAttributesW(helpFile.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  const std::wstring argument = L"\"" + helpFile + L"::/" + topic + L"\"";
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteW(owner, L"open", L"hh.exe", argument.c_str(), nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace veltrano::ui
