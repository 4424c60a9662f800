// Resource ids of the main window (template, menu, accelerators, icons), and through the menu's
// own header its command ids. Plain defines, read by the resource compiler too.
#pragma once

#include "../../view/main_menu_ids.h"

#define IDI_PROGRAM 128
#define IDD_MONITOR 102
#define IDR_ACCELERATORS 129
#define IDR_POPUP_MENU 130
#define IDI_TRAY_IDLE 140
#define IDI_TRAY_UP 141
#define IDI_TRAY_DOWN 142
#define IDI_TRAY_BOTH 143
