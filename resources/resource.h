// Control identifiers of the program's own resources.
#pragma once

#define IDC_CONFIG_TITLE 101
#define IDC_CONFIG_LINE1 102
#define IDC_CONFIG_LINE2 103
