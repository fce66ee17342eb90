#pragma once
// The fixed numeric identifiers of commands, controls, dialogs, bitmaps, icons, menus, timers and
// strings. They are part of the plug-in's contract with its host and with the string table, so they
// never change. The few the host knows as well live in the host interface.
#include "plugin-api/PluginApi.h"

// Strings (the text of each is in StringTable.cpp). The tree texts are also the list pane's captions and
// the headers of its template and category lists.
#define IDS_TREE_ROOT 13020
#define IDS_TREE_PRODUCT 13021
#define IDS_TREE_CARDS 13022
#define IDS_TREE_TEMPLATES 13023
#define IDS_TREE_CATEGORIES 13024
#define IDS_TREE_BACKUP 13025
#define IDS_TREE_HELP 13028
#define IDS_WALLET_MISSING 13038
#define IDS_TEMPLATES_MISSING 13039
#define IDS_LIST_BAR_CAPTION 13040
#define IDS_OPTIONS_MISSING 13041
#define IDS_LOAD_TOOLBAR_FAILED 13042
#define IDS_READ_TESSERA 13046
#define IDS_APP_RUNNING 13047
#define IDS_CLOSE_APP_FAILED 13048
#define IDS_VERSION_NOT_SUPPORTED 13049
#define IDS_READ_BACKUP_FAILED 13051
#define IDS_TOOL_NEW 13052
#define IDS_TOOL_DELETE 13053
#define IDS_TOOL_FIND 13054
#define IDS_DELETE_BACKUP_CONFIRM 13073
#define IDS_READ_BACKUP 13078
#define IDS_GROUP_CARDS 13084
#define IDS_GROUP_TEMPLATES 13085
#define IDS_GROUP_CATEGORIES 13086
#define IDS_GROUP_WORK 13087
#define IDS_GROUP_PERSONAL 13088
#define IDS_GROUP_COMPUTER 13089
#define IDS_GROUP_OTHER 13090
#define IDS_TOOL_BACKUP 13091
#define IDS_BACKUP_DONE 13105
#define IDS_BACKUP_FAILED 13106
#define IDS_READING_CARDS 13117
#define IDS_READING_BACKUP 13120
#define IDS_RESTORE_DONE 13121
#define IDS_RESTORE_FAILED 13122
#define IDS_LOCKOUT_RUNNING 13137
#define IDS_READ_FAILED 13142
#define IDS_DISPLAY_NAME 13148
#define IDS_TOOL_LOCK 13149

// Our own numbering for texts that carry no fixed id: captions, titles, labels, buttons, column headers
// and messages of the windows and dialogs. Nobody outside the plug-in knows these numbers.
// Message box captions.
#define IDS_APP_CAPTION 14000
#define IDS_HOST_CAPTION 14001
// Login dialog.
#define IDS_LOGIN_TITLE 14020
#define IDS_LOGIN_PROMPT 14021
#define IDS_LOGIN_OK 14022
#define IDS_WRONG_PASSWORD 14023
// Buttons shared by several dialogs and the main view.
#define IDS_BUTTON_OK 14040
#define IDS_BUTTON_CANCEL 14041
// Main view.
#define IDS_BUTTON_EDIT 14060
#define IDS_BUTTON_SAVE 14061
#define IDS_BUTTON_EDIT_FIELDS 14062
#define IDS_BUTTON_RESTORE 14063
#define IDS_LABEL_CATEGORY 14064
#define IDS_COLUMN_NUMBER 14065
#define IDS_COLUMN_FIELD_NAME 14066
#define IDS_COLUMN_FIELD_TYPE 14067
#define IDS_NEW_CARD_NAME 14068
#define IDS_NEW_TEMPLATE_NAME 14069
#define IDS_NEW_CATEGORY_NAME 14070
#define IDS_SAVE_CARD_PROMPT 14071
#define IDS_SAVE_TEMPLATE_PROMPT 14072
#define IDS_SAVE_CATEGORY_PROMPT 14073
#define IDS_DRAFT_SUFFIX 14074
#define IDS_BACKUP_LAST_MODIFY 14075
#define IDS_BACKUP_CARD_COUNT 14076
#define IDS_SAVE_CARD_FAILED 14077
#define IDS_SAVE_TEMPLATE_FAILED 14078
#define IDS_SAVE_CATEGORY_FAILED 14079
#define IDS_COPIED_STATUS 14080
// Card list pane.
#define IDS_LIST_TITLE 14100
#define IDS_ARRANGED_BY 14101
#define IDS_SORT_BY 14102
#define IDS_ASCENDING 14103
#define IDS_DESCENDING 14104
#define IDS_KEY_NAME 14105
#define IDS_KEY_CATEGORY 14106
#define IDS_KEY_CREATED 14107
#define IDS_KEY_MODIFIED 14108
#define IDS_COLUMN_BACKUP 14109
#define IDS_ALL_CARDS 14110
#define IDS_DELETE_CARD_CONFIRM 14111
#define IDS_DELETE_TEMPLATE_CONFIRM 14112
#define IDS_DELETE_TITLE 14113
#define IDS_DELETING 14114
#define IDS_TEMPLATE_SAVED 14115
#define IDS_SAVE_AS_TEMPLATE_FAILED 14116
#define IDS_EXPORT_FILTER 14117
#define IDS_MENU_SAVE_AS_TEMPLATE 14118
// Card form: the password button in view and in edit mode.
#define IDS_BUTTON_COPY 14140
#define IDS_BUTTON_GENERATE 14141
// The password generator's choices, one class name per class in its order, and the clipboard's clear.
#define IDS_GENERATOR_TITLE 14300
#define IDS_GENERATOR_LENGTH 14301
#define IDS_GENERATOR_SYMBOLS 14302
#define IDS_GENERATOR_DIGITS 14303
#define IDS_GENERATOR_CAPITALS 14304
#define IDS_GENERATOR_SMALL 14305
#define IDS_GENERATOR_REPLACES 14306
#define IDS_GENERATOR_REPLACE 14307
#define IDS_CLIPBOARD_CLEARED 14308
// Field editor.
#define IDS_FIELD_EDITOR_TITLE 14180
#define IDS_BUTTON_ADD 14181
#define IDS_BUTTON_DELETE 14182
#define IDS_BUTTON_UP 14183
#define IDS_BUTTON_DOWN 14184
#define IDS_GRID_PROPERTY 14185
#define IDS_GRID_VALUE 14186
#define IDS_NEW_FIELD_NAME 14187
// Template selection dialog.
#define IDS_TEMPLATE_DIALOG_TITLE 14200
#define IDS_BUTTON_EMPTY_CARD 14201
#define IDS_COLUMN_TEMPLATE 14202
#define IDS_COLUMN_FIELD 14203
#define IDS_OUT_OF_MEMORY 14204
// Options page, delete-category and icon selection dialogs.
#define IDS_OPTIONS_LOCK_AFTER 14220
#define IDS_OPTIONS_MINUTES_IDLE 14221
#define IDS_DELETE_CATEGORY_TITLE 14222
#define IDS_DELETE_CATEGORY_CONFIRM 14223
#define IDS_DELETE_CATEGORY_CARDS 14224
#define IDS_SELECT_ICON_TITLE 14225
#define IDS_WALLET_IN_USE 14227
#define IDS_READ_FAILED_REPAIR 14228
#define IDS_WALLET_CHANGED 14229
#define IDS_RESTORE_UNFINISHED 14230
#define IDS_READ_FAILED_RESTORE 14231
#define IDS_KEEP_MY_FIELD 14232
#define IDS_KEEP_MY_HEAD 14233
// Import Cards and the export's formats.
#define IDS_IMPORT_FILTER 14234
#define IDS_IMPORT_TITLE 14235
#define IDS_IMPORTING 14236
#define IDS_IMPORT_COUNT 14237
#define IDS_IMPORT_SUMMARY 14238
#define IDS_IMPORT_UNREADABLE 14239
#define IDS_IMPORT_STOPPED 14240
#define IDS_EXPORT_FORMATS 14241
// The questions before a restore and an export, and the export's report.
#define IDS_RESTORE_CONFIRM 14250
#define IDS_EXPORT_WARNING 14251
#define IDS_EXPORT_DONE 14252
// Names refused on save, and the field editor's and options page's own texts.
#define IDS_NAME_BLANK 14400
#define IDS_FIELD_NAME_REPEATED 14401
#define IDS_CATEGORY_NAME_TAKEN 14402
#define IDS_FIELD_NAME_REPEATED_HERE 14403
#define IDS_FIELD_TYPE_KEPT 14404
#define IDS_FIELD_TYPE_NAME_FIELD 14405
#define IDS_OPTIONS_NEVER_LOCK 14406

// Menus, accelerators and the toolbar.
#define IDR_MAINMENU 128
#define IDR_ACCELERATORS 128
#define IDR_LIST_CONTEXT 13017
#define IDR_NEW_DROPDOWN 13035
#define IDR_TOOLBAR 13041

// Commands.
#define ID_NEW_CARD 32000
#define ID_NEW_TEMPLATE 32001
#define ID_NEW_CATEGORY 32002
#define ID_BACKUP 32003
#define ID_EXPORT_CARDS 32004
#define ID_SELECT_ALL 32005
#define ID_INVERT_SELECTION 32006
#define ID_DELETE 32007
#define ID_FIND 32008
#define ID_IMPORT_CARDS 32009
#define ID_VIEW_LIST_PANE 32010
#define ID_VISIT_WEBSITE 32013
#define ID_NEW_CONTEXT 32801
#define ID_NEW_DROPDOWN 32839
#define ID_FIND_BOX 32841
#define ID_ARRANGE_NAME 32843
#define ID_ARRANGE_CATEGORY 32847
#define ID_ARRANGE_CREATED 32852
#define ID_ARRANGE_MODIFIED 32855
#define ID_SAVE_AS_TEMPLATE 32866
#define ID_LOCK_WALLET 32878

// Windows and controls.
#define IDC_NAV_TREE 10000
#define IDW_LIST_BAR 12345
#define IDW_MAIN_VIEW 12346
#define IDW_NAV_PAGE 12347
#define IDC_CARD_LIST 9999
#define IDC_CATEGORY_FILTER 34891
#define IDC_OPTIONS_MINUTES 13051
// Progress dialog.
#define IDC_PROGRESS_PICTURE 1012
#define IDC_PROGRESS_TEXT 1013
// Login dialog.
#define IDC_PASSWORD 13023
#define IDC_PASSWORD_PROMPT 13039
// Delete-category dialog and icon selection dialog.
#define IDC_DELETE_CARDS 13121
#define IDC_ICON_VIEW 34892
// Main view.
#define IDC_EDIT_BUTTON 15000
#define IDC_SAVE_BUTTON 15001
#define IDC_CANCEL_BUTTON 15002
#define IDC_EDIT_FIELDS_BUTTON 15005
#define IDC_RESTORE_BUTTON 22224
#define IDC_ICON_BUTTON 22225
#define IDC_NAME_BOX 50000
#define IDC_CATEGORY_BOX 60000
// Card form: value controls are numbered from 50000 in creation order, a password row's button is
// 45000 plus the field's position; the form answers these ranges only.
#define IDC_PASSWORD_BUTTON_FIRST 45000
#define IDC_PASSWORD_BUTTON_LAST 45100
#define IDC_FIELD_VALUE_FIRST 50000
#define IDC_FIELD_VALUE_LAST 50100
// Field editor.
#define IDC_FIELD_OK 101
#define IDC_FIELD_UP 103
#define IDC_FIELD_DOWN 104
#define IDC_FIELD_ADD 105
#define IDC_FIELD_DELETE 106
#define IDC_FIELD_NAME_EDIT 1234
#define IDC_FIELD_GRID_FRAME 13025
#define IDC_FIELD_GRID 19999
// Template selection dialog (its OK and Cancel are the platform's 1 and 2).
#define IDC_TEMPLATE_LIST 13021
#define IDC_EMPTY_CARD 13050

// Dialogs.
#define IDD_OPTIONS 13077
#define IDD_PROGRESS 319
#define IDD_SELECT_ICON 13005
#define IDD_MAIN_VIEW 13008
#define IDD_LOGIN 13024
#define IDD_DELETE_CATEGORY 13067

// The result with which the wallet lock ends a dialog of the list pane.
#define IDLOCKED 34891

// Timers.
#define IDT_PROGRESS 5
#define IDT_LOCKOUT 9527
#define IDT_CLIPBOARD 9528

// Bitmaps and icons.
#define IDB_TREE_IMAGES 13010
#define IDB_LOGIN_ICONS 13040
#define IDB_LOGIN_PICTURE 13080
#define IDI_TREE_ROOT 13083
#define IDI_PLUGIN 13084

// Image strips and pictures of the icon library, the backup list, the toolbar, the login and the
// progress dialogs (SVG sources in ui/resources/art/, rendered to PNG at build time).
#define IDB_PROGRESS_TRACK 316
#define IDB_PROGRESS_MARKER 317
#define IDB_TOOLBAR 13041
#define IDB_WALLET_PICTURE 13045
#define IDB_LARGE_CARDS 13046
#define IDB_LARGE_CATEGORIES 13047
#define IDB_LARGE_WORK 13048
#define IDB_LARGE_COMPUTER 13049
#define IDB_LARGE_PERSONAL 13050
#define IDB_LARGE_OTHER 13051
#define IDB_LARGE_TEMPLATES 13052
#define IDB_SMALL_CARDS 13056
#define IDB_SMALL_CATEGORIES 13057
#define IDB_SMALL_COMPUTER 13058
#define IDB_SMALL_OTHER 13059
#define IDB_SMALL_PERSONAL 13060
#define IDB_SMALL_TEMPLATES 13061
#define IDB_SMALL_WORK 13062
#define IDB_BACKUP_FILE 13065
#define IDB_BACKUP_FOLDER 13066
