// The disk's manifest: every file of the installation disk but the program
// that carries it, by name, with its size and SHA-256 and, for a compressed
// file, the size and SHA-256 of what it expands to. The build (and the
// signing script, after it signs the libraries) writes it into the programs'
// resources, so that a signed program's signature covers every file of its
// disk, on every Windows from NT 4.0 and with no crypto API of the system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sha256.h"

namespace stf {

// The resource that holds it (RT_RCDATA), the same number in both programs.
constexpr unsigned kManifestResource = 1;
// Its first line.
constexpr char kManifestHeader[] = "disk manifest 1";

struct ManifestEntry {
  std::string name;
  std::uint64_t size = 0;
  unsigned char digest[kSha256Size] = {};
  bool packed = false;
  std::uint64_t expandedSize = 0;
  unsigned char expandedDigest[kSha256Size] = {};
};

struct DiskManifest {
  std::vector<ManifestEntry> entries;  // in the order of the text
  std::vector<std::size_t> byName;     // entries' indexes, by name without regard to case
};

// The header line, then a line per file, fields split by tabs:
//   name size sha256 [expanded-size expanded-sha256]
// NULs after the text (the room the build reserved) end it. False, with the
// line at fault in *problem, for anything else.
bool ParseManifest(const char* text, std::size_t size, DiskManifest* out, std::string* problem);

// "<sha256> <size>": a file's bytes as a record gives them, in the fields'
// spelling here. False for anything else.
bool ParseRecordedBytes(const std::string& text, std::uint64_t* size,
                        unsigned char digest[kSha256Size]);

// By name, without regard to ASCII case; null when not listed.
const ManifestEntry* FindManifestEntry(const DiskManifest& manifest, const std::string& name);

// What a file's bytes are to the manifest.
enum class ManifestMatch { kMatches, kDiffers, kUnlisted };

// landed: the bytes are what the file puts in place (expanded when the
// manifest lists it compressed); otherwise the file as it lies on the disk.
ManifestMatch MatchManifest(const DiskManifest& manifest, const std::string& name,
                            std::uint64_t size, const unsigned char digest[kSha256Size],
                            bool landed);

// Bytes against the size and digest they should have.
ManifestMatch MatchBytes(std::uint64_t size, const unsigned char digest[kSha256Size],
                         std::uint64_t wantSize, const unsigned char want[kSha256Size]);

// The size and digest a file listed in the manifest must land with.
void LandingOf(const ManifestEntry& entry, std::uint64_t* size, const unsigned char** digest);

enum class ManifestAction { kAccept, kRetry, kRefuse };

// What the run does with a file of that verdict. diskSigned: the running
// program carries a signature. setupInformation: the INF the run reads,
// which an admin may edit on an unsigned disk; fromDiskFolder: it lies beside
// the program (else in the folder the run was started from).
struct ManifestDecision {
  ManifestAction action = ManifestAction::kAccept;
  std::string line;  // for the log, naming the file
};
ManifestDecision DecideManifest(const std::string& path, ManifestMatch match, bool diskSigned,
                                bool setupInformation = false, bool fromDiskFolder = true);

// The refusal when the program's own manifest cannot be read: a signed
// program cannot vouch for any file without it.
std::string NoManifestLine(const std::string& program, const std::string& problem);

}  // namespace stf
