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

#define IDI_SETUP              111
#define IDB_LOGO               113
#define IDR_WHATSNEW           128
#define IDR_PAYLOAD            212
