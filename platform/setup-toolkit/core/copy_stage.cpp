// One file of the copy job: the decisions its versions call for, then its
// data copied to the staged file and flushed.
#include "copy_run.h"

#include <cstring>

#include "disk_manifest.h"
#include "sha256.h"

namespace stf {

int WriteFailure(SysError error) { return IsDiskFull(error) ? grcDiskFull : grcCannotWrite; }

ReadAt ReaderOf(FileSystem& fs, FileHandle file) {
  return [&fs, file](std::uint64_t offset, void* buffer, std::size_t size, std::size_t* got) {
    return fs.Read(file, offset, buffer, size, got);
  };
}

CopyFailure CopyRun::StageFile(CopyWork* w) {
  w->landing = Sha256();
  FileHandle source = nullptr;
  if (SysError error = fs_.OpenRead(w->source, &source)) {
    return {IsMissing(error) ? grcSourceMissing : grcReadError, error, "CreateFileA " + w->source};
  }
  CopyFailure failure = CheckVersions(w, source);
  if (failure.grc == grcOkay && !w->skipped) {
    failure = w->packed.packing == Packing::kPlain ? CopyData(w, source) : ExpandData(w, source);
  }
  fs_.Close(source);
  return failure;
}

// The required version is the disk's promise; an installed file newer than
// the source, or with a version where the source has none, is not replaced
// unless the person says so.
CopyFailure CopyRun::CheckVersions(CopyWork* w, FileHandle source) {
  const std::string& required = w->item->requiredVersion;
  if (required.empty() && !w->had) return {};
  FileVersion version;
  SysError error = 0;
  const VersionLookup found = ReadImageVersion(SourceReader(*w, source), &version, &error);
  if (found == VersionLookup::kReadError) return {grcReadError, error, "ReadFile " + w->source};
  FileVersion wanted;
  if (!required.empty() && (!ParseVersionText(required, &wanted) ||
                            found != VersionLookup::kFound ||
                            CompareVersions(version, wanted) < 0)) {
    const std::string has =
        found == VersionLookup::kFound ? "its version " + VersionText(version) : "it has no version";
    return {grcWrongVersion, kErrorRevisionMismatch,
            has + ", at least " + required + " is required (is it the right disk?)"};
  }
  if (!w->had || job_.restoring || !w->installedVersioned) return {};
  const FileVersion& installed = w->installed;
  if (found != VersionLookup::kFound) {
    KeepOrReplace(w, job_.quiet || user_.AskKeepVersioned(w->target, installed),
                  "the installed file has version " + VersionText(installed) +
                      ", the file on the disk has none");
  } else if (CompareVersions(installed, version) > 0) {
    KeepOrReplace(w, job_.quiet || user_.AskKeepNewer(w->target, installed, version),
                  "the installed version " + VersionText(installed) + " is newer than " +
                      VersionText(version) + " on the disk");
  }
  return {};
}

void CopyRun::KeepOrReplace(CopyWork* w, bool keep, const std::string& why) {
  if (keep) {
    user_.LogNote("Kept " + w->target + ": " + why);
    w->skipped = true;
  } else {
    user_.LogNote("Replacing " + w->target + " as the user chose, although " + why);
  }
}

// The installed file, opened once when planned: its version (one that cannot
// be read has none that could keep it), and whether it holds the source's
// bytes already, in which case a rerun of the same disk changes nothing.
void CopyRun::ReadInstalled(CopyWork* w, FileHandle source, bool sameSize) {
  FileHandle target = nullptr;
  if (fs_.OpenRead(w->target, &target) != 0) return;
  const bool same = sameSize && SameAsInstalled(*w, target, source);
  SysError error = 0;
  w->installedVersioned = !same && !job_.restoring &&
      ReadImageVersion(ReaderOf(fs_, target), &w->installed, &error) == VersionLookup::kFound;
  fs_.Close(target);
  if (same) {
    user_.LogNote("Unchanged: " + w->target + " has the same size and SHA-256 as " + w->source +
                  "; not copied");
    w->skipped = w->unchanged = true;
  }
}

namespace {

// The SHA-256 of what a reader gives from offset 0 to its end.
bool DigestOfReader(const ReadAt& read, std::vector<char>* buffer, std::string* digest) {
  Sha256 hash;
  for (std::uint64_t offset = 0;;) {
    std::size_t got = 0;
    if (read(offset, buffer->data(), buffer->size(), &got) != 0) return false;
    hash.Update(buffer->data(), got);
    offset += got;
    if (got < buffer->size()) break;
  }
  unsigned char bytes[kSha256Size];
  hash.Finish(bytes);
  *digest = Sha256Text(bytes);
  return true;
}

// Whether two readers give the same bytes to their ends; the first piece
// that differs ends the reading. The first piece is a page: files that
// differ mostly differ there.
bool SameBytes(const ReadAt& one, const ReadAt& other, std::size_t chunk) {
  std::vector<char> a(chunk > 4096 ? 4096 : chunk), b(a.size());
  for (std::uint64_t offset = 0;;) {
    const std::size_t want = offset == 0 ? a.size() : chunk;
    if (a.size() < want) {  // past the first page
      a.resize(want);
      b.resize(want);
    }
    std::size_t gotA = 0, gotB = 0;
    if (one(offset, a.data(), want, &gotA) != 0 || other(offset, b.data(), want, &gotB) != 0 ||
        gotA != gotB || std::memcmp(a.data(), b.data(), gotA) != 0) {
      return false;
    }
    offset += gotA;
    if (gotA < want) return true;
  }
}

}  // namespace

// The installed file against what the source would put in place: the disk
// manifest's size and SHA-256 where it lists the source (nothing of the disk
// is read then, so no unchecked byte decides), else the source itself,
// expanded when packed (a plain one compared byte for byte, up to the first
// difference). A read that fails answers no, and the copy then meets the
// failure itself.
bool CopyRun::SameAsInstalled(const CopyWork& w, FileHandle target, FileHandle source) {
  if (!w.item->expected.listed && w.packed.packing == Packing::kPlain) {
    return SameBytes(ReaderOf(fs_, target), ReaderOf(fs_, source), job_.chunkBytes);
  }
  std::vector<char> buffer(job_.chunkBytes);
  std::string installed;
  if (!DigestOfReader(ReaderOf(fs_, target), &buffer, &installed)) return false;
  if (w.item->expected.listed) {
    return w.size == w.item->expected.size && installed == Sha256Text(w.item->expected.digest);
  }
  Sha256 hash;
  std::string problem;
  const bool same = ExpandPacked(ReaderOf(fs_, source), w.packed,
                                 [&hash](const void* data, std::size_t size) {
                                   hash.Update(data, size);
                                   return SysError(0);
                                 },
                                 &problem) == 0;
  unsigned char bytes[kSha256Size];
  hash.Finish(bytes);
  return same && installed == Sha256Text(bytes);
}

CopyFailure CopyRun::CopyData(CopyWork* w, FileHandle source) {
  const std::string& staged = w->entry.staged;
  w->written = 0;
  FileHandle out = nullptr;
  if (SysError error = fs_.CreateWrite(staged, &out)) {
    return {WriteFailure(error), error, "CreateFileA " + staged};
  }
  const std::uint64_t start = done_;
  CopyFailure failure;
  for (std::uint64_t offset = 0;;) {
    std::size_t got = 0;
    SysError error = fs_.Read(source, offset, buffer_.data(), buffer_.size(), &got);
    if (error != 0) {
      failure = {grcReadError, error, "ReadFile " + w->source};
      break;
    }
    // Only the manifest has a digest to hold the bytes to; an unlisted file is not hashed.
    if (w->item->expected.listed) w->landing.Update(buffer_.data(), got);
    if (got > 0 && (error = fs_.Write(out, buffer_.data(), got)) != 0) {
      failure = {WriteFailure(error), error,
                 "WriteFile " + staged + " (at byte " + std::to_string(offset) + ")"};
      break;
    }
    offset += got;
    done_ += got;
    w->written = offset;
    Progress();
    if (got < buffer_.size()) break;
  }
  return EndStaging(*w, source, out, start, failure);
}

// A staged file is finished whole, or removed: never a partly written one.
CopyFailure CopyRun::EndStaging(const CopyWork& w, FileHandle source, FileHandle out,
                                std::uint64_t start, CopyFailure failure) {
  const std::string& staged = w.entry.staged;
  if (failure.grc == grcOkay) failure = MatchLanding(w, done_ - start);
  if (failure.grc == grcOkay) {
    fs_.CopyFileTime(source, out);
    // The old file's second name is made now, while the next file copies.
    const std::string linkTarget = w.had ? w.target : std::string();
    if (SysError error = fs_.FinishStaged(out, staged, linkTarget, w.entry.old)) {
      failure = {WriteFailure(error), error, "FlushFileBuffers " + staged};
    }
  } else {
    fs_.Close(out);
  }
  if (failure.grc != grcOkay) {
    RemoveFile(fs_, staged);  // the next try, or the rollback, starts from nothing
    done_ = start;
  }
  return failure;
}

// The bytes just written, against what the disk's manifest says the source
// puts in place.
CopyFailure CopyRun::MatchLanding(const CopyWork& w, std::uint64_t bytes) {
  if (!w.item->expected.listed) return {};
  Sha256 sha = w.landing;
  unsigned char digest[kSha256Size];
  sha.Finish(digest);
  const ManifestMatch match =
      MatchBytes(bytes, digest, w.item->expected.size, w.item->expected.digest);
  const ManifestDecision decision = DecideManifest(w.source, match, job_.diskSigned);
  if (decision.action == ManifestAction::kAccept) {
    user_.LogNote(decision.line);
    return {};
  }
  // Refused on a signed disk (grcChangedDisk stops the copy); a damaged disk
  // may be read again.
  damaged_ = decision.line + ".";
  return {decision.action == ManifestAction::kRefuse ? grcChangedDisk : grcReadError,
          kErrorFileCorrupt, decision.line};
}

}  // namespace stf
