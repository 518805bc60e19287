// Every resource id of Korvanix Setup and its resource library IntallerRes.dll.
//
// Shared by the C++ code and the .rc files, so this file holds #defines only
// (windres reads it too). A localised IntallerRes.dll must keep these ids:
// the program finds every template, picture and text by number.
//
// Control ids 1 and 2 are the system's IDOK and IDCANCEL; 1000, 1001 and 1018
// double as page end codes (Back, Next, Install), which is why the buttons
// carry those numbers.
#pragma once

// ---------------------------------------------------------------------------
// Dialog templates
// ---------------------------------------------------------------------------
#define IDD_WELCOME             102
#define IDD_FEATURES            105
#define IDD_FINISH              110
#define IDD_COPY_PROGRESS       111
#define IDD_UNINSTALL_WAIT      115
#define IDD_MAINTENANCE         116
#define IDD_MAIN_BACKGROUND     244
#define IDD_TIP_BACKGROUND      245   // also the transparent host of the uninstall wait window
#define IDD_INFO_PAGE           2100
#define IDD_TIP                 3014

// ---------------------------------------------------------------------------
// Icons and bitmaps
// ---------------------------------------------------------------------------
#define IDI_APP                 128   // application and window icon

// Check-box state icons (agreement box and package boxes).
#define IDI_CHECK_ON            131
#define IDI_CHECK_OFF           132
#define IDI_CHECK_OFF_DISABLED  230
#define IDI_CHECK_ON_DISABLED   240

// Option-button bitmaps of the maintenance start page.
#define IDB_MODIFY_NORMAL       3028
#define IDB_UNINSTALL_NORMAL    3029
#define IDB_REPAIR_NORMAL       3030
#define IDB_MODIFY_HOVER        3031
#define IDB_UNINSTALL_HOVER     3032
#define IDB_REPAIR_HOVER        3033
#define IDB_MODIFY_PRESSED      3034
#define IDB_UNINSTALL_PRESSED   3035
#define IDB_REPAIR_PRESSED      3036

// ---------------------------------------------------------------------------
// PNG images (resource type "PNG")
// ---------------------------------------------------------------------------
// Full-window backgrounds shown by the background windows.
#define IDP_WELCOME_BACKGROUND          252   // options area hidden
#define IDP_WELCOME_OPTIONS_BACKGROUND  253   // options area shown
#define IDP_TIP_BACKGROUND              254
#define IDP_FEATURES_BACKGROUND         255
#define IDP_MAINTENANCE_BACKGROUND      256
#define IDP_FINISH_BACKGROUND           258   // behind the finish page before it opens
#define IDP_FINISH_FINAL_BACKGROUND     272   // finish page, final layout
#define IDP_FINISH_WORKSPACE_BACKGROUND 309   // finish page, workspace layout

// Copy-progress slides: slide n (1 to 6) shows IDP_SLIDE_BASE + n.
#define IDP_SLIDE_BASE          260
#define IDP_SLIDE_1             261
#define IDP_SLIDE_2             262
#define IDP_SLIDE_3             263
#define IDP_SLIDE_4             264
#define IDP_SLIDE_5             265
#define IDP_SLIDE_6             266

// Button images, in the order normal, pressed, hover, disabled.
#define IDP_BROWSE_NORMAL       247   // welcome page folder picker
#define IDP_BROWSE_PRESSED      273
#define IDP_BROWSE_HOVER        274

#define IDP_INSTALL_NORMAL      248   // Install with the agreement box ticked
#define IDP_INSTALL_HOVER       249
#define IDP_INSTALL_PRESSED     250
#define IDP_INSTALL_DISABLED    251   // also Install's only image while the box is unticked

#define IDP_EXIT_NORMAL         275   // welcome page Exit, copy-progress Cancel
#define IDP_EXIT_PRESSED        276
#define IDP_EXIT_HOVER          277

#define IDP_BACK_NORMAL         278
#define IDP_BACK_PRESSED        279
#define IDP_BACK_HOVER          280
#define IDP_BACK_DISABLED       281

#define IDP_OPTIONS_NORMAL      282   // Options while the options area is hidden
#define IDP_OPTIONS_PRESSED     283
#define IDP_OPTIONS_HOVER       284
#define IDP_OPTIONS_OPEN_NORMAL 285   // Options while the options area is shown
#define IDP_OPTIONS_OPEN_PRESSED 286
#define IDP_OPTIONS_OPEN_HOVER  287

#define IDP_TIP_FORCE_NORMAL    288   // tip dialog Force closed
#define IDP_TIP_FORCE_PRESSED   289
#define IDP_TIP_FORCE_HOVER     290
#define IDP_TIP_CANCEL_NORMAL   291
#define IDP_TIP_CANCEL_PRESSED  292
#define IDP_TIP_CANCEL_HOVER    293
#define IDP_TIP_PICTURE         294   // picture at the top of the tip dialog
#define IDP_TIP_OK_NORMAL       295   // tip dialog OK and Retry
#define IDP_TIP_OK_PRESSED      296
#define IDP_TIP_OK_HOVER        297

#define IDP_FINISH_NORMAL       299   // Finish in the finish page's final layout
#define IDP_FINISH_PRESSED      300
#define IDP_FINISH_HOVER        301

#define IDP_CANCEL_NORMAL       302   // feature and maintenance pages
#define IDP_CANCEL_PRESSED      303
#define IDP_CANCEL_HOVER        304

#define IDP_NEXT_NORMAL         305
#define IDP_NEXT_PRESSED        306
#define IDP_NEXT_HOVER          307
#define IDP_NEXT_DISABLED       308

// Finish page workspace buttons.
#define IDP_DRAFTING_CHOSEN     310
#define IDP_DRAFTING_UNCHOSEN   311
#define IDP_CLASSIC_CHOSEN      312
#define IDP_CLASSIC_UNCHOSEN    313

// ---------------------------------------------------------------------------
// Controls shared by the welcome page (102) and the feature page (105)
// ---------------------------------------------------------------------------
#define IDC_AGREEMENT_CHECK     1037  // licence agreement box
#define IDC_AGREEMENT_LABEL     1042  // text beside the agreement box
#define IDC_LICENCE_LINK        1038
#define IDC_PRIVACY_LINK        1048

// Placeholders whose rectangles receive the package boxes and descriptions
// created at run time, five positions each.
#define IDC_PACKAGE_BOX_SLOT1   1034
#define IDC_PACKAGE_BOX_SLOT2   1036
#define IDC_PACKAGE_BOX_SLOT3   3039
#define IDC_PACKAGE_BOX_SLOT4   3044
#define IDC_PACKAGE_BOX_SLOT5   3045
#define IDC_PACKAGE_TEXT_SLOT1  1035
#define IDC_PACKAGE_TEXT_SLOT2  3040
#define IDC_PACKAGE_TEXT_SLOT3  3041
#define IDC_PACKAGE_TEXT_SLOT4  3042
#define IDC_PACKAGE_TEXT_SLOT5  3043

// Package i (from 0) gets box IDC_PACKAGE_BOX_FIRST + i and description
// IDC_PACKAGE_TEXT_FIRST + i; both are created at run time, not in a template.
#define IDC_PACKAGE_BOX_FIRST   3001
#define IDC_PACKAGE_TEXT_FIRST  4001

// ---------------------------------------------------------------------------
// Welcome page (IDD_WELCOME)
// ---------------------------------------------------------------------------
#define IDC_WELCOME_EXIT        2     // IDCANCEL
#define IDC_WELCOME_OPTIONS     1017
#define IDC_WELCOME_INSTALL     1018
#define IDC_WELCOME_SPARE_CHECK 1019  // check box the page binds without a role
#define IDC_WELCOME_REQUIREMENTS_LINK 1020  // shown with the options area
#define IDC_WELCOME_PATH        1023  // path edit box
#define IDC_WELCOME_BROWSE      1024  // folder picker
#define IDC_WELCOME_OPTIONS_LABEL 1039  // shown with the options area
#define IDC_WELCOME_PATH_CARET  1040  // a click puts the caret into the path box
#define IDC_WELCOME_HEADLINE    2290  // product name in the header
#define IDC_WELCOME_SUBLINE     2291  // line under the product name
#define IDC_WELCOME_AND         2292  // "and" between the two document links

// ---------------------------------------------------------------------------
// Feature selection page (IDD_FEATURES)
// ---------------------------------------------------------------------------
#define IDC_FEATURES_CANCEL     2     // IDCANCEL
#define IDC_FEATURES_BACK       1000
#define IDC_FEATURES_NEXT       1001
#define IDC_FEATURES_PATH_BUTTON 1026 // path button of a new installation; hidden here
#define IDC_MAINTENANCE_HEADLINE 2284 // also on the maintenance start page

// ---------------------------------------------------------------------------
// Copy-progress page (IDD_COPY_PROGRESS)
// ---------------------------------------------------------------------------
#define IDC_COPY_CANCEL         2     // IDCANCEL; does not stop the job
#define IDC_COPY_PROGRESS       1013  // overall progress bar
#define IDC_PAGE_LABEL1         1032  // labels in the text colour (also the finish page)
#define IDC_PAGE_LABEL2         1033
#define IDC_COPY_STAGE          2102  // caption naming the current stage
#define IDC_COPY_SPARE_TEXT     2104  // bound without settings
#define IDC_COPY_SLIDE_TEXT     2105
#define IDC_COPY_SLIDE_TITLE    2106

// ---------------------------------------------------------------------------
// Finish page (IDD_FINISH)
// ---------------------------------------------------------------------------
#define IDC_FINISH_NEXT         1001  // Next in the workspace layout, Finish in the final one
#define IDC_FINISH_DRAFTING     1014  // workspace button "2D Drafting"
#define IDC_FINISH_CLASSIC      1015  // workspace button "Korvanix Classic"
#define IDC_FINISH_DRAFTING_CAPTION 2262  // hidden; source of button 1014's caption
#define IDC_FINISH_CLASSIC_CAPTION 2263   // hidden; source of button 1015's caption
#define IDC_FINISH_WORKSPACE_PROMPT 2264
#define IDC_FINISH_HEADLINE     2280  // final layout; text from the template

// ---------------------------------------------------------------------------
// Maintenance start page (IDD_MAINTENANCE)
// ---------------------------------------------------------------------------
#define IDC_MAINTENANCE_NEXT    1     // IDOK
#define IDC_MAINTENANCE_CANCEL  2     // IDCANCEL
#define IDC_MAINTENANCE_MODIFY  3001  // option k is IDC_MAINTENANCE_MODIFY + k
#define IDC_MAINTENANCE_REPAIR  3002
#define IDC_MAINTENANCE_UNINSTALL 3003
// Statics whose rectangles receive each option's title and description.
#define IDC_MODIFY_TITLE        3050
#define IDC_MODIFY_DESCRIPTION  3051
#define IDC_REPAIR_TITLE        3052
#define IDC_REPAIR_DESCRIPTION  3053
#define IDC_UNINSTALL_TITLE     3054
#define IDC_UNINSTALL_DESCRIPTION 3055

// ---------------------------------------------------------------------------
// Uninstall wait window (IDD_UNINSTALL_WAIT)
// ---------------------------------------------------------------------------
#define IDC_UNINSTALL_WAIT_TEXT (-1)  // the template's only static, id -1

// ---------------------------------------------------------------------------
// Tip dialog (IDD_TIP)
// ---------------------------------------------------------------------------
#define IDC_TIP_OK              1     // IDOK; reads "Retry" in retry mode
#define IDC_TIP_CANCEL          2     // IDCANCEL
#define IDC_TIP_FORCE_CLOSE     3015
#define IDC_TIP_MESSAGE         3016
#define IDC_TIP_PICTURE         3017
#define IDC_TIP_TITLE           3018

// ---------------------------------------------------------------------------
// Information page dialog (IDD_INFO_PAGE)
// ---------------------------------------------------------------------------
#define IDC_INFO_BROWSER        2101  // web browser control

// ---------------------------------------------------------------------------
// Texts of the string table
// ---------------------------------------------------------------------------
// Product and company values.
#define IDS_PRODUCT_REG_NAME    1996  // product word of the own registry key
#define IDS_COMPANY_NAME        1997  // uninstall record Publisher
#define IDS_PRODUCT_WEBSITE     1998  // uninstall record HelpLink
#define IDS_EDITION_SUFFIX      1999  // appended to the uninstall DisplayName; empty in English
#define IDS_PRODUCT_DISPLAY_NAME 2015 // product folder name and tip dialog title
#define IDS_PRODUCT_INSTANCE_NAME 2022 // single-instance mutex name; product name on screen

// Long texts (RCDATA, UTF-8): the command-line reference and its brief form.
#define IDR_COMMAND_LINE_HELP        4101
#define IDR_COMMAND_LINE_HELP_BRIEF  4102

// Start-up checks and disk space.
#define IDS_NOT_ENOUGH_DISK_SPACE 2001
#define IDS_DISK_SPACE_QUERY_FAILED 2002
#define IDS_NO_ADMIN_RIGHTS     2009
#define IDS_PRODUCT_RUNNING     2010
#define IDS_64BIT_EDITION_INSTALLED 2011  // 32-bit medium, 64-bit edition installed
#define IDS_SETUP_ALREADY_RUNNING 2021
#define IDS_32BIT_EDITION_INSTALLED 2023  // 64-bit medium, 32-bit edition installed (English text as 2011)
#define IDS_64BIT_MEDIUM_ON_32BIT_SYSTEM 2024
#define IDS_DOTNET_MISSING      2037
#define IDS_WINDOWS_TOO_OLD     2045
#define IDS_OTHER_BUILD_INSTALLED 2046

// Install, registration and uninstall.
#define IDS_REGISTRY_WRITE_FAILED 2003
#define IDS_FILE_NOT_FOUND      2005  // format: %s = full path
#define IDS_MSI_INSTALL_FAILED  2012  // follows the package path directly
#define IDS_UNINSTALL_FAILED    2013
#define IDS_CONFIRM_UNINSTALL   2014
#define IDS_REGISTER_FAILED     2017
#define IDS_INSTALL_FAILED      2033

// Shortcut names.
#define IDS_SHORTCUT_UNINSTALL  2008
#define IDS_SHORTCUT_OLE_CONVERTER 2019
#define IDS_SHORTCUT_PALETTE_IMPORT 2043
#define IDS_SHORTCUT_SIGNATURES 2060

// Installation folder rules.
#define IDS_FOLDER_NOT_EMPTY    2026  // format: %s = folder
#define IDS_PATH_INPUT_ERROR    2027
#define IDS_PATH_INVALID_CHARS  2028
#define IDS_PATH_IS_ROOT        2029
#define IDS_SELECT_FOLDER_TITLE 2032  // folder picker title
#define IDS_ACCEPT_LICENCE_FIRST 2034

// Copy-progress stage captions.
#define IDS_STAGE_PRODUCT_AND_HELP 2039
#define IDS_STAGE_COLLABORATION 2040
#define IDS_STAGE_REGISTRATION  2041
#define IDS_STAGE_UNINSTALLING  2047
#define IDS_STAGE_OVERALL       2058

// Exit questions and page headlines.
#define IDS_CONFIRM_EXIT_MODIFY 2053
#define IDS_CONFIRM_EXIT_MAINTENANCE 2055
#define IDS_CONFIRM_EXIT_INSTALL 2057
#define IDS_MAINTENANCE_HEADLINE 2059
#define IDS_CONFIRM_CANCEL_INSTALL 2061   // Cancel on the copy-progress page of a new installation
#define IDS_CONFIRM_CANCEL_MAINTENANCE 2062  // ... of a Modify or Repair
#define IDS_INFO_PAGE_TITLE     2042  // format: %s = IDS_PRODUCT_INSTANCE_NAME

// Button labels.
#define IDS_BUTTON_BACK         2200
#define IDS_BUTTON_OK           2201
#define IDS_BUTTON_CANCEL       2203
#define IDS_BUTTON_FINISH       2204
#define IDS_BUTTON_INSTALL      2205
#define IDS_BUTTON_NEXT         2206
#define IDS_BUTTON_OPTIONS      2207
#define IDS_BUTTON_RETRY        2208
#define IDS_BUTTON_FORCE_CLOSE  2209
#define IDS_BUTTON_EXIT         2210

// Copy-progress slides: title and text of slide n (1 to 6) are
// IDS_SLIDE1_TITLE + 2 (n - 1) and the id after it.
#define IDS_SLIDE1_TITLE        2250
#define IDS_SLIDE1_TEXT         2251
#define IDS_SLIDE2_TITLE        2252
#define IDS_SLIDE2_TEXT         2253
#define IDS_SLIDE3_TITLE        2254
#define IDS_SLIDE3_TEXT         2255
#define IDS_SLIDE4_TITLE        2256
#define IDS_SLIDE4_TEXT         2257
#define IDS_SLIDE5_TITLE        2258
#define IDS_SLIDE5_TEXT         2259
#define IDS_SLIDE6_TITLE        2260
#define IDS_SLIDE6_TEXT         2261

// Finish page workspaces.
#define IDS_WORKSPACE_DRAFTING  2262
#define IDS_WORKSPACE_CLASSIC   2263
#define IDS_WORKSPACE_PROMPT    2264

// Maintenance start page options: titles and descriptions (the descriptions
// are empty in English).
#define IDS_MODIFY_DESCRIPTION  3004
#define IDS_REPAIR_DESCRIPTION  3005
#define IDS_UNINSTALL_DESCRIPTION 3006
#define IDS_MODIFY_TITLE        3007
#define IDS_REPAIR_TITLE        3008
#define IDS_UNINSTALL_TITLE     3009
