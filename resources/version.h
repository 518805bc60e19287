// Version values shared by the version resources of Setup.exe and
// IntallerRes.dll (#defines only: windres reads this file).
#pragma once

#define KORV_FILE_VERSION        1,0,0,0
#define KORV_FILE_VERSION_TEXT   "1.0.0.0"
#define KORV_PRODUCT_VERSION     2024,0,0,0
#define KORV_PRODUCT_VERSION_TEXT "2024"
#define KORV_COMPANY_TEXT        "Tallowick Company"
#define KORV_PRODUCT_TEXT        "Korvanix 2024"
#define KORV_COPYRIGHT_TEXT      "Copyright (C) Tallowick Company"
