// Compressed sources (packed_file.h) in the copy job: the size the plan,
// the space check and the gauge count is the expanded one, the version checks
// read the expanded file, and the staged file is written expanded, so that
// the transaction holds for them as for any file.
#include "copy_run.h"

namespace stf {
namespace {

CopyFailure Damaged(const CopyWork& w, const std::string& problem) {
  return {grcReadError, kErrorFileCorrupt,
          "expanding " + w.source + " (" + PackingName(w.packed.packing) + "): " + problem};
}

}  // namespace

// Reads the source's first bytes; a damaged header fails the file before
// anything is changed.
int CopyRun::ProbeSource(CopyWork* w, FileHandle* opened) {
  for (;;) {
    FileHandle source = nullptr;
    std::string problem;
    SysError error = fs_.OpenRead(w->source, &source);
    CopyFailure failure{IsMissing(error) ? grcSourceMissing : grcReadError, error,
                        "CreateFileA " + w->source};
    if (error == 0) {
      error = ProbePacking(ReaderOf(fs_, source), &w->packed, &problem);
      failure = {grcReadError, error, "ReadFile " + w->source};
      if (error == kErrorFileCorrupt) failure = Damaged(*w, problem);
      if (error == 0) {
        *opened = source;  // the plan compares it with the installed file next
        break;
      }
      fs_.Close(source);
    }
    const Next next = Failed(w, failure);
    if (next == Next::kSkip) return grcOkay;
    if (next == Next::kStop) return stopResult_;
  }
  if (w->packed.packing != Packing::kPlain) {
    w->packedSize = w->size;
    w->size = w->packed.expandedSize;
  }
  return grcOkay;
}

ReadAt CopyRun::SourceReader(const CopyWork& w, FileHandle source) {
  if (w.packed.packing == Packing::kPlain) return ReaderOf(fs_, source);
  return ExpandedReader(ReaderOf(fs_, source), w.packed);
}

// As CopyData, with the data expanded on its way to the staged file.
CopyFailure CopyRun::ExpandData(CopyWork* w, FileHandle source) {
  const std::string& staged = w->entry.staged;
  FileHandle out = nullptr;
  if (SysError error = fs_.CreateWrite(staged, &out)) {
    return {WriteFailure(error), error, "CreateFileA " + staged};
  }
  const std::uint64_t start = done_;
  SysError writeError = 0;
  w->written = 0;
  const WriteExpanded write = [&](const void* data, std::size_t size) {
    if (w->item->expected.listed) w->landing.Update(data, size);
    writeError = fs_.Write(out, data, size);
    if (writeError == 0) {
      done_ += size;
      w->written += size;
      Progress();
    }
    return writeError;
  };
  std::string problem;
  const SysError error = ExpandPacked(ReaderOf(fs_, source), w->packed, write, &problem);
  CopyFailure failure;
  if (writeError != 0) {
    failure = {WriteFailure(writeError), writeError,
               "WriteFile " + staged + " (at byte " + std::to_string(done_ - start) + ")"};
  } else if (error == kErrorFileCorrupt) {
    failure = Damaged(*w, problem);
  } else if (error != 0) {
    failure = {grcReadError, error, "ReadFile " + w->source};
  }
  return EndStaging(*w, source, out, start, failure);
}

// The bytes written, which a source that changed since the plan makes other
// than the size planned.
void CopyRun::LogPlaced(const CopyWork& w) {
  if (w.packed.packing == Packing::kPlain) {
    user_.LogCopied(w.source, w.target, w.written);
  } else {
    user_.LogExpanded(w.source, w.target, w.written, w.packedSize,
                      w.packed.packing == Packing::kLz ? "LZ" : "cabinet");
  }
}

}  // namespace stf
