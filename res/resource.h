// Resource ids of Corvale, shared by corvale.rc and the program's code.
#pragma once

#define IDD_CORVALE_DIALOG 102
#define IDD_CORVALE_DIALOG_WIDE 103
#define IDR_MAINFRAME 128
#define IDI_DEFAULT_ENTRY 129
#define IDR_MAIN_MENU 130
#define IDC_WIDE_PLACEHOLDER 200
#define IDC_STARTUP_LIST 1000
#define ID_MENU_EXIT 32772
#define ID_MENU_MORE_SOFTWARE 32776
#define ID_MENU_VIEW_DETAILS 32777
#define ID_MENU_DELETE_ENTRY 32778
