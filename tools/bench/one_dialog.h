#pragma once

#define IDD_ONE_DIALOG 100
#define IDC_ONE_DIALOG_TEXT 1001
