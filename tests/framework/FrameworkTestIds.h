#pragma once

#define IDD_TEST_DIALOG 900
#define IDD_TEST_PAGE_ONE 901
#define IDD_TEST_PAGE_TWO 902
#define IDC_TEST_LINK 910
