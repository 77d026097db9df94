// Paths in the system's ANSI code page, walked by whole characters: a
// double-byte character may end in the byte 0x5C, which is then no backslash.
// The one module for taking paths apart and putting them together; whoever
// knows the code page passes its lead-byte test (ansi_text.h). A separator is
// a backslash or a slash of its own, as the file functions of Windows take
// both.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ansi_text.h"

namespace stf {

// Where the file name of a path starts: after its last separator, or after a
// drive prefix ("C:x.sys"); 0 for a bare name.
std::size_t FileNameStart(const std::string& path, LeadBytePredicate isLead);
// The directory part, up to and including that separator ("" when none), and
// the rest.
void SplitPath(const std::string& path, LeadBytePredicate isLead, std::string* dir,
               std::string* name);
std::string DirectoryOf(const std::string& path, LeadBytePredicate isLead);
std::string FileNameOf(const std::string& path, LeadBytePredicate isLead);

// Does the text end in a backslash that is a character of its own?
bool EndsWithBackslash(const std::string& text, LeadBytePredicate isLead);
// The directory with one trailing backslash ("" stays ""), or without it
// (a root, "C:\" or "\", keeps its own).
std::string WithBackslash(const std::string& dir, LeadBytePredicate isLead);
std::string WithoutBackslash(const std::string& dir, LeadBytePredicate isLead);
// dir + '\' + name, leaving out the backslash when dir is empty or already
// ends in a separator.
std::string JoinPath(const std::string& dir, const std::string& name, LeadBytePredicate isLead);

// Does the path start at a root: a drive ("C:"), or a separator ("\dir",
// "\\server\share")?
bool IsRooted(const std::string& path);
// Length of "C:\", "C:" or "\\server\share\" at the start of path; 0 when relative.
std::size_t RootLength(const std::string& path, LeadBytePredicate isLead);
// Takes the first component off *rest, up to its first backslash.
std::string TakeComponent(std::string* rest, LeadBytePredicate isLead);
// Every directory from the first below the root down to dir itself, each as a
// full path without its trailing backslash: what must exist for dir to exist.
std::vector<std::string> DirectoryChain(const std::string& dir, LeadBytePredicate isLead);

// "C" for "c:\dir", "\\server\share" for a UNC path, "" for a relative path.
std::string DriveOfPath(const std::string& path, LeadBytePredicate isLead);
// The root of the volume a path lies on, as Windows NT 4.0 knows volumes (no
// mount points): "C:\" for "C:\DIR\FILE", "\\SERVER\SHARE\" for
// "\\SERVER\SHARE\DIR"; empty for a relative path or an incomplete share name.
std::string VolumeRootOf(const std::string& path, LeadBytePredicate isLead);

// The same walks over text in a fixed buffer, for callers that keep paths in
// char arrays. The offset of the last character in [begin, end), its length
// in *length (0 when empty).
std::size_t LastCharacterIn(const char* begin, const char* end, LeadBytePredicate isLead,
                            std::size_t* length);
// The offset just past the last backslash that is a character of its own in a
// zero-terminated text; 0 when it has none.
std::size_t AfterLastBackslash(const char* text, LeadBytePredicate isLead);

// A name with no directory part and no wildcard.
bool IsBareName(const std::string& name, LeadBytePredicate isLead);

}  // namespace stf
