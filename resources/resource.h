// Resource and control identifiers, shared by builder.rc and the C++ code.
#pragma once

// Dialogs, menu, pictures
#define IDD_ABOUT 100
#define IDD_BUILDER 102
#define IDI_APP 128
#define IDB_AVATAR 129
#define IDR_BUILDER_MENU 131
#define IDD_PALETTE_DIRECTORY 132
#define IDI_PALETTE 133

// Builder window controls
#define IDC_ANIMATION_FILE 1001
#define IDC_AUDIO_FILE 1002
#define IDC_DISPLAYED_NAME 1004
#define IDC_TRANSPARENT 1005
#define IDC_RED 1006
#define IDC_GREEN 1007
#define IDC_BLUE 1008
#define IDC_IMAGE_LOOP 1010
#define IDC_IMAGE_REVERSE 1011
#define IDC_FRAME_WIDTH 1012
#define IDC_TEST 1013
#define IDC_BACK_TO_FRAME 1014
#define IDC_AUDIO_START_FRAME 1015
#define IDC_AUDIO_ONCE 1016
#define IDC_PREVIEW_PLACE 1017
#define IDC_BROWSE_ANIMATION 1018
#define IDC_BROWSE_AUDIO 1019
#define IDC_PALETTE 1020
#define IDC_BUTTON_IMAGE_FILE 1021
#define IDC_BROWSE_BUTTON_IMAGE 1022

// Palette directory dialog
#define IDC_PALETTE_DIRECTORY 1023

// Menu commands
#define ID_FILE_NEW 32771
#define ID_FILE_OPEN 32772
#define ID_FILE_SAVE 32774
#define ID_FILE_SAVE_AS 32775
#define ID_TOOLS_TEST 32776
#define ID_TOOLS_SHOW_PALETTE 32779
#define ID_FILE_SAVE_ANIMATION 32780
#define ID_FILE_SAVE_BUTTON 32781
#define ID_FILE_SAVE_AUDIO 32783
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665

// Additions of our own: the gesture checker and the keyboard shortcuts
#define ID_TOOLS_CHECK 32790
#define IDR_ACCELERATORS 140
#define IDD_CHECK 141
#define IDC_CHECK_FINDINGS 1030
#define IDC_CHECK_REPAIR 1031

// Strings
#define IDS_APP_TITLE 57344

// About box
#define IDC_STATIC_TEXT -1
