// A fake setup toolkit for host tests: records every call with its arguments
// (see transcript.h) and answers from a script.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace fake {

struct Toolkit {
  std::map<std::string, std::deque<long>> queued;  // per operation, used up in order
  std::map<std::string, long> fixed;               // per operation, once the queue is empty
  std::map<std::string, std::deque<std::string>> texts;  // what text queries write
  std::map<unsigned, std::deque<std::string>> events;    // event words per dialog number
  std::map<std::string, std::string> symbols;            // by upper-case name
  std::map<std::string, std::vector<std::string>> lists;  // by upper-case name
  std::vector<unsigned> dialogStack;                      // shown and not yet killed
  std::function<void(unsigned dialogId)> onDialog;        // runs as a dialog is shown
  // What a successful copy puts in each queued destination.
  std::vector<std::string> sectionFiles = {"mlxidecd.SYS"};
  std::vector<std::string> queuedDestinations;
  // The records of the section the copy list is built from, and the list's
  // entries as a queued section gives them (source dir + disk name, target
  // dir + installed name, flags).
  struct FileRecord {
    FileRecord(std::string disk, std::string install = "", unsigned long recordFlags = 1)
        : diskName(std::move(disk)), installName(std::move(install)), flags(recordFlags) {}
    std::string diskName;
    std::string installName;  // empty: the disk name
    unsigned long flags;      // 1: vital
  };
  std::vector<FileRecord> section;
  struct CopyEntry {
    std::string source, target;
    unsigned long flags;
  };
  std::vector<CopyEntry> copyList;
  std::vector<std::string> restartQueue;  // files YnrcRemoveFile left for the next boot

  HWND frameWindow = reinterpret_cast<HWND>(0xF00);
  HINSTANCE frameInstance = reinterpret_cast<HINSTANCE>(0xF01);
  HCURSOR previousCursor = reinterpret_cast<HCURSOR>(0xC0);
};

extern Toolkit toolkit;

void ResetToolkit();
// Results of an operation: the queued ones first, then `Always` for good.
void Queue(const std::string& op, const std::vector<long>& results);
void Always(const std::string& op, long result);
// Event words that dialog `dialogId` leaves in DLGEVENT, one per showing.
void Events(unsigned dialogId, const std::vector<std::string>& words);
// The text the next call of a text query writes.
void QueueText(const std::string& op, const std::string& text);
void SetSymbol(const std::string& name, const std::string& value);
std::string Symbol(const std::string& name);

// The scripted answer of an operation, else its default.
long Answer(const std::string& op, long defaultResult);

}  // namespace fake
