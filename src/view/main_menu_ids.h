// Command ids of the main window's popup menu, accelerators and per-adapter items. Plain defines:
// the menu logic here and the desktop's resource script read them alike.
#pragma once

#define ID_SHOW 32771
#define ID_HIDE 32772
#define ID_OPTIONS 32773
#define ID_TRAFFIC_REPORTS 32774
#define ID_TITLE 32776
#define ID_GRAPH 32777
#define ID_SCALE 32778
#define ID_TEXT 32779
#define ID_UNIT_BYTES 32780
#define ID_UNIT_BITS 32781
#define ID_SCALE_GRID 32782
#define ID_MAX_RATE 32783
#define ID_ALWAYS_ON_TOP 32784
#define ID_STOPWATCH 32786
#define ID_CAPTION 32794
#define ID_EXIT 32795
#define ID_RATES_RECORDER 32802
#define ID_TCP_CONNECTIONS 32803
#define ID_IP_ADDRESS 32804
#define ID_REOPEN_ALERT 32805
#define ID_OPEN_MENU 32806
#define ID_RESET_POSITION 32807
#define ID_RESET_ALL_RATES 32809
#define ID_CLICK_THROUGH 32814
#define ID_SEMI_TRANSPARENT 32815
#define ID_AVERAGE_SPEEDS 32816
#define ID_AVG_DOWN_LINE 32817
#define ID_AVG_UP_LINE 32818
#define ID_TIME_TEXT 32819
#define ID_TIME_GRID 32820
#define ID_COLUMN_GRAPH 32821
#define ID_LINE_GRAPH 32822
#define ID_ABOUT 57664
#define ID_HELP_CONTENTS 57670
#define ID_NO_ADAPTERS 32850

#define ID_ADAPTERS_FIRST 9000
#define ID_RESET_RATES_FIRST 9300
#define ID_MENU_ROWS 300
