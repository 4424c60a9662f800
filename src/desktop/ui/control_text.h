// The text of a dialog's control, moved between the control (UTF-16) and the program (UTF-8).
#pragma once

#include <windows.h>

#include <string>

namespace veltrano {

std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);

}  // namespace veltrano
