#pragma once
// Resource ids shared by the program, its resources and the tests.

#define IDS_EXIT_BUTTON        1
#define IDS_FINISH_BUTTON      2
#define IDS_CANCEL_QUESTION    3
#define IDS_CAPTION            4
#define IDS_INVALID_FOLDER     5
#define IDS_FOLDER_LABEL       6
#define IDS_INSTALL_FAILED     7
#define IDS_FOLDER_PREFIX      8
#define IDS_ASSOC_QUESTION     9
#define IDS_VIEWER_RUNNING     10
#define IDS_CANNOT_CREATE      11
#define IDS_INSTALL_BUSY       12

#define IDI_SETUP              111
#define IDB_LOGO               113
#define IDR_WHATSNEW           128
#define IDR_PAYLOAD            212
#define IDR_INSTALLED_SIZE     213

// Dialog templates: the wizard pages
#define IDD_PAGE_OPTIONS       101
#define IDD_PAGE_FILE_TYPES    104
#define IDD_PAGE_WHATS_NEW     108
#define IDD_PAGE_READY         109
#define IDD_PAGE_FINISH        110
#define IDD_PAGE_WIDE          111

// Controls
#ifndef IDC_STATIC
#define IDC_STATIC             (-1)
#endif
#define IDC_TARGET_FOLDER      1000
#define IDC_WHATS_NEW_TEXT     1000
#define IDC_BROWSE             1009
#define IDC_READY_FOLDER       1010
#define IDC_DESKTOP_SHORTCUT   1011
#define IDC_GROUP_SHORTCUT     1012
#define IDC_TITLE_OPTIONS      1013
#define IDC_TITLE_READY        1014
#define IDC_TITLE_FINISH       1015
#define IDC_CURRENT_USER       1016
#define IDC_ALL_USERS          1017
#define IDC_NO_SHORTCUTS       1019
#define IDC_START_VIEWER       1020
#define IDC_THUMBS_SHORTCUT    1021
#define IDC_SHOW_FAQ           1022
#define IDC_INI_IN_FOLDER      1038
#define IDC_INI_IN_APPDATA     1039
#define IDC_INI_CUSTOM         1040
#define IDC_INI_BROWSE         1042
#define IDC_INSTALLING         1044
#define IDC_EULA_LINK          1045
#define IDC_SELECT_ALL         1080
#define IDC_SELECT_NONE        1081
#define IDC_IMAGES_ONLY        1091
#define IDC_FILE_TYPE_LIST     1579

// Wizard buttons of the sheet
#define IDC_WIZ_BACK           0x3023
#define IDC_WIZ_NEXT           0x3024
