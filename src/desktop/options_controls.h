// Small control helpers shared by the options pages and the "Report" dialog: check boxes, lists,
// texts in UTF-8, the pages' control font, and the refusal of a checked field.
#pragma once

#include <windows.h>

#include <string>

#include "desktop/ui/control_text.h"
#include "desktop/ui/prompter.h"

namespace veltrano {

bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);
void EnableItem(HWND dialog, int id, bool enabled);

void AddComboItem(HWND dialog, int id, const std::string& text);
int ComboSelection(HWND dialog, int id);  // -1 when nothing is selected
void SelectComboItem(HWND dialog, int id, int index);

// An up-down control's range (the buddy's number is typed and checked by the page).
void SetSpinRange(HWND dialog, int id, int low, int high);

// "Tahoma" 8 points (11 pixels character height at 96 DPI), for every control of a page or the
// sheet itself: the font at dpi, owned by the program (never deleted by its users).
constexpr int kOptionsControlFontPoints = 8;
int OptionsControlFontHeight(int dpi);
HFONT OptionsControlFont(int dpi);
// The font at the window's DPI, or at dpi, on the window and its direct children.
void ApplyControlFont(HWND window);
void ApplyControlFont(HWND window, int dpi);

// A refused page or dialog: the offending control gets the focus, then the warning is shown.
void RefuseField(HWND dialog, int focusId, ui::Prompter& prompter, const std::string& message);

}  // namespace veltrano
