#pragma once
// Resource and control numbers of the About-box library.
#define IDD_ABOUT 100
#define IDB_LOGO 101

#define IDC_NAME 1001
#define IDC_SUFFIX 1002
#define IDC_RULE 1003
#define IDC_ABOUT0 1010
#define IDC_ABOUT2 1012
#define IDC_ABOUT7 1017
#define IDC_HOMEPAGE_LABEL 1020
#define IDC_HOMEPAGE 1021
#define IDC_EMAIL_LABEL 1022
#define IDC_EMAIL 1023
