// The switches in a window laid out as a table, for /help and for a command
// line that cannot be used.
#pragma once

#define STF_USAGE_TEMPLATE 1
#define IDC_USAGE_ICON 10
#define IDC_USAGE_HEADING 11
#define IDC_USAGE_TABLE 100  // the table's cells: 100 + 2 * row (+ 1 for the meaning)

#ifndef RC_INVOKED
#include <string>

#include "platform/win32.h"

// problem: empty for /help (information icon), else what is wrong with the
// command line (error icon). Returns once the person has closed the window.
void ShowUsageWindow(const std::string& problem, const std::string& program, LPCWSTR title);
#endif
