// Ids of the test resource library (framework_test_res.dll).
#pragma once

#define IDD_TEST 100
#define IDD_OLE_HOSTS 101

#define IDC_EDIT 1001
#define IDC_RANGE_1 1101
#define IDC_RANGE_2 1102
#define IDC_RANGE_3 1103
#define IDC_RANGE_4 1104
#define IDC_RANGE_5 1105
#define IDC_DRAWN 1201
#define IDC_CHECK 1202
#define IDC_LABEL 1203
#define IDC_PLAIN_LABEL 1204

// Hosted OLE controls (IDD_OLE_HOSTS).
#define IDC_OLE_BY_CLASS_ID 1301
#define IDC_OLE_BY_PROG_ID 1302
#define IDC_OLE_UNKNOWN 1303
