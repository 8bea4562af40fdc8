// Resource and control ids of the main window. Included by the resource script and by C++.
#pragma once

#define IDD_MAIN 101
#define IDI_MAIN 102
#define IDR_MAINMENU 103

#define IDC_SOURCE_PATH 1000
#define IDC_TARGET_PATH 1001
#define IDC_SOURCE_BROWSE 1002
#define IDC_TARGET_BROWSE 1004
#define IDC_STAMP 1013
#define IDC_AUTOLINK 1014
#define IDC_LINETAGS 1015
#define IDC_TAGS_BR_P 1016
#define IDC_TAGS_BR 1017
#define IDC_STAMP_KANJI 1018
#define IDC_STAMP_NUMERIC 1019
#define IDC_ESCAPE 1020
#define IDC_BORDER 1021
#define IDC_BGCOLOR_BUTTON 1024
#define IDC_TEXTCOLOR_BUTTON 1025
#define IDC_BGCOLOR_TEXT 1029
#define IDC_TEXTCOLOR_TEXT 1030
#define IDC_TITLE 1037

#define IDM_ABOUT 40004
