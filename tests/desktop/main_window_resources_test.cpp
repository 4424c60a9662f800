// The main window's resources as compiled into the program: the popup menu's sub-menus at their
// positions, every accelerator of the command table, and the icons.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "desktop/resources/main_window_ids.h"

namespace veltrano {
namespace {

std::wstring ItemText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return text;
}

TEST(MainWindowResources, PopupMenuHasItsSubMenusWhereTheWindowLooksForThem) {
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_POPUP_MENU));
  ASSERT_NE(menu, nullptr);
  HMENU popup = GetSubMenu(menu, 0);
  EXPECT_EQ(ItemText(popup, 8), L"Adapters");
  EXPECT_EQ(ItemText(popup, 9), L"View");
  EXPECT_EQ(ItemText(popup, 10), L"Reset Rates");
  HMENU reset = GetSubMenu(popup, 10);
  EXPECT_EQ(GetMenuItemID(reset, 0), static_cast<UINT>(ID_RESET_ALL_RATES));
  EXPECT_EQ(GetMenuItemCount(reset), 2) << "All Adapters and the separator before the rows";
  EXPECT_EQ(GetMenuItemID(GetSubMenu(popup, 8), 0), static_cast<UINT>(ID_NO_ADAPTERS));
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(popup, 9)), 26);
  EXPECT_EQ(ItemText(GetSubMenu(popup, 9), 0), L"&Title\tCtrl+T");
  EXPECT_EQ(ItemText(popup, GetMenuItemCount(popup) - 1), L"E&xit");
  DestroyMenu(menu);
}

TEST(MainWindowResources, EveryShortcutOfTheCommandTableIsAnAccelerator) {
  HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
  ASSERT_NE(table, nullptr);
  std::vector<ACCEL> entries(64);
  entries.resize(CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size())));
  std::map<std::pair<int, WORD>, WORD> byKey;  // (modifiers, key) -> command
  for (const ACCEL& entry : entries) byKey[{entry.fVirt & (FCONTROL | FSHIFT | FALT), entry.key}] = entry.cmd;
  const std::vector<std::tuple<int, WORD, int>> expected = {{0, VK_ESCAPE, ID_HIDE},
                                                            {0, VK_F1, ID_HELP_CONTENTS},
                                                            {0, VK_F2, ID_OPTIONS},
                                                            {0, VK_F3, ID_TRAFFIC_REPORTS},
                                                            {0, VK_F4, ID_STOPWATCH},
                                                            {0, VK_F5, ID_RATES_RECORDER},
                                                            {0, VK_F6, ID_TCP_CONNECTIONS},
                                                            {0, 'F', ID_OPEN_MENU},
                                                            {FCONTROL, 'T', ID_TITLE},
                                                            {FCONTROL, 'I', ID_IP_ADDRESS},
                                                            {FCONTROL, 'G', ID_GRAPH},
                                                            {FCONTROL, 'H', ID_COLUMN_GRAPH},
                                                            {FCONTROL, 'L', ID_LINE_GRAPH},
                                                            {FCONTROL, 'S', ID_SCALE},
                                                            {FCONTROL, 'R', ID_SCALE_GRID},
                                                            {FCONTROL, 'W', ID_TIME_TEXT},
                                                            {FCONTROL, 'Y', ID_TIME_GRID},
                                                            {FCONTROL, 'D', ID_AVG_DOWN_LINE},
                                                            {FCONTROL, 'U', ID_AVG_UP_LINE},
                                                            {FCONTROL, 'X', ID_TEXT},
                                                            {FCONTROL, 'M', ID_MAX_RATE},
                                                            {FCONTROL, 'V', ID_AVERAGE_SPEEDS},
                                                            {FCONTROL, 'B', ID_UNIT_BYTES},
                                                            {FCONTROL, 'P', ID_UNIT_BITS},
                                                            {FCONTROL, 'A', ID_ALWAYS_ON_TOP},
                                                            {FCONTROL, 'C', ID_CAPTION},
                                                            {FCONTROL, 'K', ID_CLICK_THROUGH},
                                                            {FCONTROL, 'E', ID_SEMI_TRANSPARENT},
                                                            {FCONTROL | FSHIFT, 'R', ID_RESET_ALL_RATES},
                                                            {FCONTROL, 'N', ID_REOPEN_ALERT}};
  for (const auto& [modifiers, key, command] : expected) {
    const auto found = byKey.find({modifiers, key});
    ASSERT_NE(found, byKey.end()) << "key " << key << " modifiers " << modifiers;
    EXPECT_EQ(found->second, command) << "key " << key;
  }
  EXPECT_EQ(entries.size(), expected.size());
  DestroyAcceleratorTable(table);
}

TEST(MainWindowResources, ProgramAndActivityIconsAreThere) {
  for (int id : {IDI_PROGRAM, IDI_TRAY_IDLE, IDI_TRAY_UP, IDI_TRAY_DOWN, IDI_TRAY_BOTH}) {
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(icon, nullptr) << id;
    if (icon) DestroyIcon(icon);
  }
}

}  // namespace
}  // namespace veltrano
