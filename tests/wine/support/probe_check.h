// What the parts of the support probe share: one line per check, and the
// small file helpers they build their fixtures with.
#pragma once

#include <windows.h>

#include <string>

namespace probe {

extern int failures;

// "ok   what" or "FAIL what: detail".
void Check(bool ok, const std::string& what, const std::string& detail = "");

// Everything the probe makes lives under here.
extern const char kRoot[];
std::string Path(const char* name);

void WriteText(const std::string& path, const std::string& text);
std::string Upper(std::string text);

// Each part removes what it wrote, also when an earlier check failed.
void CheckRegistryRoutines();
void CheckDoubleByteRegistry();
void CleanUpRegistry();
void CheckSharedDirs();
void CleanUpSharedDirs();
void CheckDetection();
void CheckPathSyntax();
void CheckDoubleByteNames();

}  // namespace probe
