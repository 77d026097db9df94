// The languages of the dialog library: each language's file (a string table
// tagged with its LANGID) starts with these strings, which the frame reads to
// choose a language and the dialog library to show it. Plain defines: the
// resource compiler reads this file too.
#pragma once

#define STF_DIALOG_LIBRARY "mscuistf.dll"

#define IDS_LANGUAGE_TAG 1            // "de", "pt-BR"
#define IDS_LANGUAGE_NAME 2           // in English, for the log: "German"
#define IDS_LANGUAGE_NATIVE_NAME 3    // "Deutsch"
#define IDS_LANGUAGE_RIGHT_TO_LEFT 4  // "1": the windows read right to left
#define IDS_LANGUAGE_FONT 5           // the dialog font's face: "MS Shell Dlg"
#define IDS_LANGUAGE_FONT_SIZE 6      // and its size in points: "8"

// The toolkit's own windows and boxes (StfLanguageText); the toolkit holds
// their English too, for a disk without the dialog library.
#define IDS_STF_BUSY 1000             // another setup is running
#define IDS_STF_FOLDER_NOT_ANSI 1001  // %1: the folder, %2: the ANSI code page
#define IDS_STF_USAGE_BAD 1002        // %1: what is wrong with the command line
#define IDS_STF_USAGE_NOTES 1003
// The meanings of the switches, in the order of the window's rows.
#define IDS_STF_USAGE_QUIET 1008
#define IDS_STF_USAGE_NORESTART 1009
#define IDS_STF_USAGE_FORCERESTART 1010
#define IDS_STF_USAGE_LOG 1011
#define IDS_STF_USAGE_SOURCE 1012
#define IDS_STF_USAGE_LANG 1013
#define IDS_STF_USAGE_HELP 1014

#ifndef RC_INVOKED
#include <string>

#include "platform/win32.h"

// String id of a language's string table, read from the table itself: the
// language's own text, or empty when it has none (LoadStringW would take the
// thread's language, not the one asked for).
inline std::wstring StfLanguageString(HMODULE module, WORD language, UINT id) {
  HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(6),  // RT_STRING
                                MAKEINTRESOURCEW(id / 16 + 1), language);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const WCHAR* p = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
  if (p == nullptr) return std::wstring();
  // A block holds 16 strings, each its length and its characters.
  for (UINT i = 0; i < id % 16; ++i) p += 1 + *p;
  return std::wstring(p + 1, *p);
}

// The same for ASCII texts (tags, names for the log).
inline std::string StfLanguageAscii(HMODULE module, WORD language, UINT id) {
  const std::wstring text = StfLanguageString(module, language, id);
  std::string ascii;
  for (WCHAR c : text) ascii += c < 0x80 ? static_cast<char>(c) : '?';
  return ascii;
}
#endif
