// Opening files, folders and programs through the shell, behind a seam so that tests can see
// what the program would open instead of opening it.
#pragma once

#include <windows.h>

#include <string>

namespace veltrano::ui {

class Shell {
 public:
  virtual ~Shell() = default;
  // verb "open" or "explore"; showCommand as for ShowWindow. True when the shell started it.
  virtual bool Open(HWND owner, const std::wstring& verb, const std::wstring& target, int showCommand) = 0;
};

class SystemShell : public Shell {
 public:
  bool Open(HWND owner, const std::wstring& verb, const std::wstring& target, int showCommand) override;
};

// The folder of the running executable, with a trailing backslash.
std::wstring ProgramFolder();

// Opens one topic of the help file beside the program (a file name inside Pellacor.chm) in the
// system's help viewer; false when there is no help file.
bool OpenHelpTopic(HWND owner, const wchar_t* topic);

}  // namespace veltrano::ui
