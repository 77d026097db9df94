#include "core_memory_fs.h"

#include <algorithm>
#include <cstring>

#include "ansi_text.h"

namespace stf {
namespace test {

MemoryFs::MemoryFs() { AddDir("C:"); }

std::string MemoryFs::Key(const std::string& path) {
  std::string key = ToUpperAscii(path);
  while (key.size() > 2 && key.back() == '\\') key.pop_back();
  return key;
}

std::string MemoryFs::Parent(const std::string& path) {
  const std::string key = Key(path);
  const std::size_t cut = key.rfind('\\');
  return cut == std::string::npos ? std::string() : key.substr(0, cut);
}

MemoryFs::Node* MemoryFs::Find(const std::string& path) {
  auto found = nodes_.find(Key(path));
  return found == nodes_.end() ? nullptr : &found->second;
}

void MemoryFs::AddDir(const std::string& path) {
  Node node;
  node.path = path;
  while (node.path.size() > 2 && node.path.back() == '\\') node.path.pop_back();
  node.dir = true;
  nodes_[Key(path)] = node;
}

void MemoryFs::AddJunction(const std::string& path) {
  AddDir(path);
  nodes_[Key(path)].junction = true;
}

void MemoryFs::AddFile(const std::string& path, const std::string& data) {
  Node node;
  node.path = path;
  node.data = std::make_shared<std::string>(data);
  node.attributes = std::make_shared<std::uint32_t>(0x20);  // archive, as a new file has
  nodes_[Key(path)] = node;
}

void MemoryFs::SetAttr(const std::string& path, std::uint32_t attributes) {
  *Find(path)->attributes = attributes;
}

std::uint32_t MemoryFs::Attr(const std::string& path) const {
  auto found = nodes_.find(Key(path));
  return found == nodes_.end() || found->second.dir ? 0 : *found->second.attributes;
}

void MemoryFs::Restart() {
  open_.clear();
  for (const std::string& path : atReboot_) {
    Node* node = Find(path);
    if (node == nullptr) continue;
    if (node->dir ? !List(path).empty() : (*node->attributes & kAttributeReadOnly) != 0) continue;
    nodes_.erase(Key(path));
  }
  atReboot_.clear();
  for (auto& entry : nodes_) entry.second.busy = false;
}

bool MemoryFs::Has(const std::string& path) const { return nodes_.count(Key(path)) != 0; }

std::string MemoryFs::Data(const std::string& path) const {
  auto found = nodes_.find(Key(path));
  return found == nodes_.end() || found->second.dir ? std::string() : *found->second.data;
}

std::vector<std::string> MemoryFs::List(const std::string& dir) const {
  const std::string prefix = Key(dir) + "\\";
  std::vector<std::string> paths;
  for (const auto& entry : nodes_) {
    if (entry.first.compare(0, prefix.size(), prefix) == 0) paths.push_back(entry.second.path);
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

void MemoryFs::SetBusy(const std::string& path) { Find(path)->busy = true; }

std::uint64_t MemoryFs::Used() const {
  std::uint64_t used = 0;
  std::vector<const std::string*> counted;
  for (const auto& entry : nodes_) {
    const std::string* data = entry.second.data.get();
    if (data == nullptr || std::find(counted.begin(), counted.end(), data) != counted.end()) continue;
    counted.push_back(data);
    used += data->size();
  }
  return used;
}

void MemoryFs::FailCall(const std::string& call, const std::string& part, int nth,
                        SysError error) {
  faults_.push_back({call, ToUpperAscii(part), nth, error});
}

SysError MemoryFs::Injected(const std::string& call, const std::string& path) {
  for (struct Fault& f : faults_) {
    if (f.left > 0 && f.call == call && Key(path).find(f.part) != std::string::npos &&
        --f.left == 0) {
      return f.error;
    }
  }
  return 0;
}

SysError MemoryFs::Change(const std::string& call, const std::string& path) {
  if (killAt_ != 0 && ++changes_ == killAt_) throw Killed();
  if (killAt_ == 0) ++changes_;
  return Injected(call, path);
}

SysError MemoryFs::Stat(const std::string& path, FileStat* out) {
  if (SysError e = Injected("Stat", path)) return e;
  const Node* node = Find(path);
  if (node == nullptr) return Find(Parent(path)) ? kErrorFileNotFound : kErrorPathNotFound;
  out->directory = node->dir;
  out->size = node->dir ? 0 : node->data->size();
  out->attributes = node->dir ? kAttributeDirectory : *node->attributes;
  if (node->junction) out->attributes |= kAttributeReparsePoint;
  if (out->attributes == 0) out->attributes = kAttributeNormal;
  return 0;
}

SysError MemoryFs::StoredName(const std::string& path, std::string* name) {
  if (SysError e = Injected("StoredName", path)) return e;
  const Node* node = Find(path);
  if (node == nullptr) return kErrorFileNotFound;
  const std::size_t cut = node->path.rfind('\\');
  *name = cut == std::string::npos ? node->path : node->path.substr(cut + 1);
  return 0;
}

SysError MemoryFs::MakeDir(const std::string& path) {
  if (SysError e = Change("MakeDir", path)) return e;
  if (Find(path)) return kErrorAlreadyExists;
  if (!Find(Parent(path))) return kErrorPathNotFound;
  AddDir(path);
  return 0;
}

SysError MemoryFs::RemoveDir(const std::string& path) {
  if (SysError e = Change("RemoveDir", path)) return e;
  const Node* node = Find(path);
  if (!node) return kErrorFileNotFound;
  if (!node->junction && !List(path).empty()) return 145;  // ERROR_DIR_NOT_EMPTY
  nodes_.erase(Key(path));
  return 0;
}

SysError MemoryFs::ListDir(const std::string& dir, std::vector<std::string>* names) {
  if (SysError e = Injected("ListDir", dir)) return e;
  const Node* node = Find(dir);
  if (node == nullptr || !node->dir) return node ? 267 : kErrorPathNotFound;  // ERROR_DIRECTORY
  names->clear();
  const std::string parent = Key(dir);
  for (const auto& entry : nodes_) {
    if (Parent(entry.first) != parent) continue;
    const std::size_t cut = entry.second.path.rfind('\\');
    names->push_back(entry.second.path.substr(cut + 1));
  }
  return 0;
}

SysError MemoryFs::SetAttributes(const std::string& path, std::uint32_t attributes) {
  if (SysError e = Change("SetAttributes", path)) return e;
  Node* node = Find(path);
  if (node == nullptr) return Find(Parent(path)) ? kErrorFileNotFound : kErrorPathNotFound;
  if (!node->dir) *node->attributes = attributes == kAttributeNormal ? 0 : attributes;
  return 0;
}

SysError MemoryFs::OpenRead(const std::string& path, FileHandle* out) {
  if (SysError e = Injected("OpenRead", path)) return e;
  const Node* node = Find(path);
  if (node == nullptr || node->dir) return node ? kErrorAccessDenied : kErrorFileNotFound;
  open_[nextHandle_] = {Key(path), false};
  *out = reinterpret_cast<FileHandle>(nextHandle_++);
  return 0;
}

SysError MemoryFs::CreateWrite(const std::string& path, FileHandle* out) {
  if (SysError e = Change("CreateWrite", path)) return e;
  Node* node = Find(path);
  if (node && (node->dir || node->busy || (*node->attributes & kAttributesInTheWay))) {
    return kErrorAccessDenied;
  }
  if (!Find(Parent(path))) return kErrorPathNotFound;
  if (node) {
    *node->data = std::string();
  } else {
    AddFile(path, std::string());
  }
  open_[nextHandle_] = {Key(path), true};
  *out = reinterpret_cast<FileHandle>(nextHandle_++);
  return 0;
}

SysError MemoryFs::Read(FileHandle file, std::uint64_t offset, void* buffer, std::size_t size,
                        std::size_t* got) {
  auto handle = open_.find(reinterpret_cast<std::intptr_t>(file));
  if (handle == open_.end()) return 6;  // ERROR_INVALID_HANDLE
  if (SysError e = Injected("Read", handle->second.first)) return e;
  const std::string& data = *nodes_.at(handle->second.first).data;
  *got = offset >= data.size() ? 0 : std::min<std::size_t>(size, data.size() - offset);
  if (*got) std::memcpy(buffer, data.data() + offset, *got);
  return 0;
}

SysError MemoryFs::Write(FileHandle file, const void* data, std::size_t size) {
  auto handle = open_.find(reinterpret_cast<std::intptr_t>(file));
  if (handle == open_.end() || !handle->second.second) return 6;
  if (SysError e = Change("Write", handle->second.first)) return e;
  std::string& contents = *nodes_.at(handle->second.first).data;
  const std::uint64_t room = capacity_ > Used() ? capacity_ - Used() : 0;
  const std::size_t put = room < size ? static_cast<std::size_t>(room) : size;
  contents.append(static_cast<const char*>(data), put);  // a full disk keeps what fitted
  return put < size ? kErrorDiskFull : 0;
}

SysError MemoryFs::Flush(FileHandle file) {
  auto handle = open_.find(reinterpret_cast<std::intptr_t>(file));
  if (handle == open_.end()) return 6;
  return Injected("Flush", handle->second.first);
}

SysError MemoryFs::Close(FileHandle file) {
  auto handle = open_.find(reinterpret_cast<std::intptr_t>(file));
  if (handle == open_.end()) return 6;
  const std::string path = handle->second.first;
  open_.erase(handle);
  return Injected("Close", path);
}

SysError MemoryFs::FinishStaged(FileHandle file, const std::string& path,
                                const std::string& linkTarget, const std::string& linkName) {
  const SysError flushed = Flush(file);
  const SysError closed = Close(file);
  const SysError error = flushed ? flushed : closed;
  // The contract does not order a deferred flush and the link: a failed one
  // may leave its link behind.
  if ((error == 0 || deferFlushes_) && !linkTarget.empty()) Link(linkTarget, linkName);
  if (!deferFlushes_ || error == 0) return error;
  deferred_.push_back({path, error});
  return 0;
}

SysError MemoryFs::Settle(std::string* failedPath) {
  if (deferred_.empty()) return 0;
  *failedPath = deferred_.front().first;
  const SysError error = deferred_.front().second;
  deferred_.erase(deferred_.begin());
  return error;
}

SysError MemoryFs::Link(const std::string& existing, const std::string& link) {
  if (SysError e = Change("Link", link)) return e;
  if (!links_) return 1;  // ERROR_INVALID_FUNCTION: the volume has none
  Node* from = Find(existing);
  if (from == nullptr) return kErrorFileNotFound;
  if (Find(link)) return kErrorAlreadyExists;
  if (!Find(Parent(link))) return kErrorPathNotFound;
  Node node = *from;
  node.path = link;
  nodes_[Key(link)] = node;
  return 0;
}

SysError MemoryFs::Move(const std::string& from, const std::string& to, bool replace) {
  if (SysError e = Change("Move", from + " -> " + to)) return e;
  Node* source = Find(from);
  if (source == nullptr) return kErrorFileNotFound;
  if (!Find(Parent(to))) return kErrorPathNotFound;
  Node* target = Find(to);
  if (target && target->data && target->data == source->data) {
    return 0;  // two names of one file: nothing to do
  }
  if (target && !replace) return kErrorAlreadyExists;
  if (target && (target->dir || target->busy || (*target->attributes & kAttributesInTheWay))) {
    return kErrorAccessDenied;
  }
  Node moved = *source;
  moved.path = target ? target->path : to;  // a replaced name keeps its spelling
  nodes_.erase(Key(from));
  nodes_[Key(to)] = moved;
  return 0;
}

SysError MemoryFs::Delete(const std::string& path) {
  if (SysError e = Change("Delete", path)) return e;
  Node* node = Find(path);
  if (node == nullptr) return Find(Parent(path)) ? kErrorFileNotFound : kErrorPathNotFound;
  if (node->dir || node->busy || (*node->attributes & kAttributeReadOnly)) {
    return kErrorAccessDenied;
  }
  nodes_.erase(Key(path));
  return 0;
}

SysError MemoryFs::DeleteAtReboot(const std::string& path) {
  if (SysError e = Change("DeleteAtReboot", path)) return e;
  atReboot_.push_back(path);
  return 0;
}

SysError MemoryFs::FreeSpace(const std::string& dir, std::uint64_t* bytes) {
  if (SysError e = Injected("FreeSpace", dir)) return e;
  if (!Find(dir)) return kErrorPathNotFound;
  const std::uint64_t used = Used();
  *bytes = reportedFree_ != UINT64_MAX ? reportedFree_ : capacity_ > used ? capacity_ - used : 0;
  return 0;
}

void ScriptedUser::Progress(std::uint64_t done, std::uint64_t total) {
  if (total == lastTotal && done < lastDone) progressWentBack = true;
  lastDone = done;
  lastTotal = total;
}

bool ScriptedUser::ShowBillboard(std::size_t index) {
  const bool works = index >= billboardWorks.size() || billboardWorks[index];
  shown.push_back((works ? "show " : "cannot show ") + std::to_string(index));
  return works;
}

bool ScriptedUser::AskRetry(const std::string& problem, SysError) {
  ++questions;
  problems.push_back(problem);
  if (retryAnswers.empty()) return false;
  const bool answer = retryAnswers.front();
  retryAnswers.pop_front();
  return answer;
}

bool ScriptedUser::AskKeepVersioned(const std::string& target, const FileVersion& installed) {
  return AskKeepNewer(target, installed, FileVersion());
}

bool ScriptedUser::AskKeepNewer(const std::string&, const FileVersion&, const FileVersion&) {
  ++questions;
  if (keepAnswers.empty()) return true;
  const bool answer = keepAnswers.front();
  keepAnswers.pop_front();
  return answer;
}

void ScriptedUser::LogError(const std::string& text, SysError error) {
  log.push_back("error " + std::to_string(error) + ": " + text);
}

void ScriptedUser::LogCopied(const std::string& source, const std::string& target,
                             std::uint64_t bytes) {
  log.push_back("copied: " + source + " -> " + target + " (" + std::to_string(bytes) + ")");
}

bool ScriptedUser::Logged(const std::string& part) const {
  for (const std::string& line : log) {
    if (line.find(part) != std::string::npos) return true;
  }
  return false;
}

namespace {

void Put16(std::string* b, std::size_t at, std::uint32_t v) {
  (*b)[at] = static_cast<char>(v);
  (*b)[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string* b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

}  // namespace

std::string ImageWithVersion(const FileVersion& v) {
  std::string b(0x400, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  Put32(&b, 0x3C, 0x40);
  b.replace(0x40, 4, std::string("PE\0\0", 4));
  Put16(&b, 0x46, 1);     // one section
  Put16(&b, 0x54, 0xE0);  // size of the PE32 optional header
  const std::size_t opt = 0x58;
  Put16(&b, opt, 0x10B);
  Put32(&b, opt + 92, 16);         // data directories
  Put32(&b, opt + 96 + 16, 0x1000);  // resources
  Put32(&b, opt + 96 + 20, 0x100);
  const std::size_t section = opt + 0xE0;
  b.replace(section, 5, ".rsrc");
  Put32(&b, section + 8, 0x200);    // virtual size
  Put32(&b, section + 12, 0x1000);  // address
  Put32(&b, section + 16, 0x200);   // raw size
  Put32(&b, section + 20, 0x200);   // file offset
  const std::size_t r = 0x200;
  Put16(&b, r + 14, 1);  // type directory: one id entry
  Put32(&b, r + 16, 16);
  Put32(&b, r + 20, 0x80000000u | 0x18);
  Put16(&b, r + 0x18 + 14, 1);  // name directory
  Put32(&b, r + 0x18 + 16, 1);
  Put32(&b, r + 0x18 + 20, 0x80000000u | 0x30);
  Put16(&b, r + 0x30 + 14, 1);  // language directory
  Put32(&b, r + 0x30 + 16, 0x409);
  Put32(&b, r + 0x30 + 20, 0x48);
  Put32(&b, r + 0x48, 0x1000 + 0x58);  // the data entry
  Put32(&b, r + 0x48 + 4, 92);
  const std::size_t info = r + 0x58;
  Put16(&b, info, 92);
  Put16(&b, info + 2, 52);
  const char key[] = "VS_VERSION_INFO";
  for (std::size_t i = 0; i < sizeof key; ++i) Put16(&b, info + 6 + 2 * i, key[i]);
  Put32(&b, info + 40, 0xFEEF04BD);
  Put32(&b, info + 48, (static_cast<std::uint32_t>(v.part[0]) << 16) | v.part[1]);
  Put32(&b, info + 52, (static_cast<std::uint32_t>(v.part[2]) << 16) | v.part[3]);
  return b;
}

}  // namespace test
}  // namespace stf
