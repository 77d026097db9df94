// The language of the windows: the languages the dialog library offers, the
// choice among them (the core's rule), and what follows from it for the process.
#pragma once

#include <string>

// Chooses the language for the /lang value (empty: none given), sets the
// symbol STF_LANGUAGE to its LANGID and, for a right-to-left language,
// mirrors the windows created from now on. False when /lang names no language
// offered; *problem then says so, and the system's language is chosen for the
// windows that tell it. *note is the log's line about the choice.
bool ChooseRunLanguage(const std::string& requested, std::string* note, std::string* problem);
