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
#define IDS_STF_USAGE_LINE 1004  // %1: the program and its switches
// The meanings of the switches, in the order of the window's rows.
#define IDS_STF_USAGE_QUIET 1008
#define IDS_STF_USAGE_PASSIVE 1009
#define IDS_STF_USAGE_NORESTART 1010
#define IDS_STF_USAGE_FORCERESTART 1011
#define IDS_STF_USAGE_LOG 1012
#define IDS_STF_USAGE_SOURCE 1013
#define IDS_STF_USAGE_LANG 1014
#define IDS_STF_USAGE_HELP 1015
// The copy's gauge and boxes.
#define IDS_STF_GAUGE_PREPARING 1020
#define IDS_STF_GAUGE_COPYING 1021  // %1: the file
#define IDS_STF_COPY_RETRY 1022     // %1: what failed, %2: the system's text
#define IDS_STF_KEEP_NEWER 1023     // %1: the file, %2: its version, %3: the disk's
#define IDS_STF_KEEP_VERSIONED 1024  // %1: the file, %2: its version
// The buttons of the toolkit's own boxes (StfShowBox), as Windows' boxes
// name them in the language; '&' marks the Alt letter.
#define IDS_STF_BOX_OK 1040
#define IDS_STF_BOX_CANCEL 1041
#define IDS_STF_BOX_YES 1042
#define IDS_STF_BOX_NO 1043
#define IDS_STF_BOX_RETRY 1044
// Words the programs hand the toolkit in English, for their boxes and
// captions: shown in the language by their English form (StfSpokenText).
#define IDS_STF_CANNOT_START 1045     // "Cannot initialize setup!"
#define IDS_STF_CANNOT_REGISTRY 1046  // "Cannot initialize registry!"
#define IDS_STF_ERROR 1047            // "Error"
#define IDS_STF_BUFFER_OVERFLOW 1048  // "Buffer Overflow"
#define IDS_STF_MS_SETUP_ERROR 1049   // "MS-Setup Error"
#define IDS_STF_OPERATION_FAILED 1050  // %1: the operation, %2: the toolkit's result code

#ifndef RC_INVOKED
#include <string>

#include "platform/setup-toolkit/right_to_left.h"
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

// A language's form with %1 to %3 replaced by the inserts, each once, in one
// pass (an insert that holds "%2" stays as it is).
inline std::wstring StfFillText(const std::wstring& form, const std::wstring* inserts, int count) {
  std::wstring text;
  for (std::size_t i = 0; i < form.size(); ++i) {
    const int mark = i + 1 < form.size() && form[i] == L'%' ? form[i + 1] - L'1' : -1;
    if (mark >= 0 && mark < count) {
      text += inserts[mark];
      ++i;
    } else {
      text += form[i];
    }
  }
  return text;
}

// ANSI text as the window functions take it.
inline std::wstring StfWideText(const std::string& ansi) {
  std::wstring wide(ansi.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  wide.resize(n > 0 ? n - 1 : 0);
  return wide;
}

// A number in decimal digits, for a window's text (std::to_wstring would
// link the C library's whole wide printf for a few digits).
inline std::wstring StfWideDecimal(unsigned value) {
  const std::string digits = std::to_string(value);
  return std::wstring(digits.begin(), digits.end());
}

// The same for ASCII texts (tags, names for the log).
inline std::string StfLanguageAscii(HMODULE module, WORD language, UINT id) {
  const std::wstring text = StfLanguageString(module, language, id);
  std::string ascii;
  for (WCHAR c : text) ascii += c < 0x80 ? static_cast<char>(c) : '?';
  return ascii;
}
#endif
