#include "symbols.h"

#include <utility>

namespace stf {

bool SymbolTable::Set(const std::string& name, const std::string& value) {
  if (name.empty()) return false;
  Symbol& symbol = symbols_[name];
  symbol = Symbol();
  symbol.value = value;
  return true;
}

bool SymbolTable::SetList(const std::string& name, std::vector<std::string> items) {
  if (name.empty()) return false;
  Symbol& symbol = symbols_[name];
  symbol = Symbol();
  symbol.isList = true;
  symbol.items = std::move(items);
  return true;
}

bool SymbolTable::Get(const std::string& name, std::string* value) const {
  const Symbol* symbol = Find(name);
  if (symbol == nullptr) return false;
  if (!symbol->isList) {
    *value = symbol->value;
    return true;
  }
  std::string text = "{";
  for (std::size_t i = 0; i < symbol->items.size(); ++i) {
    if (i > 0) text += ',';
    text += '"';
    for (char c : symbol->items[i]) {
      if (c == '"') text += '"';
      text += c;
    }
    text += '"';
  }
  text += '}';
  *value = std::move(text);
  return true;
}

bool SymbolTable::Remove(const std::string& name) { return symbols_.erase(name) > 0; }

bool SymbolTable::Exists(const std::string& name) const { return Find(name) != nullptr; }

bool SymbolTable::IsList(const std::string& name) const {
  const Symbol* symbol = Find(name);
  return symbol != nullptr && symbol->isList;
}

bool SymbolTable::Append(const std::string& name, const std::string& item) {
  if (name.empty()) return false;
  auto found = symbols_.find(name);
  if (found == symbols_.end()) {
    found = symbols_.emplace(name, Symbol()).first;
    found->second.isList = true;
  }
  if (!found->second.isList) return false;
  found->second.items.push_back(item);
  return true;
}

bool SymbolTable::ReplaceItem(const std::string& name, std::size_t n, const std::string& item) {
  auto found = symbols_.find(name);
  if (found == symbols_.end() || !found->second.isList) return false;
  std::vector<std::string>& items = found->second.items;
  if (n < 1 || n > items.size()) return false;
  items[n - 1] = item;
  return true;
}

bool SymbolTable::GetItem(const std::string& name, std::size_t n, std::string* item) const {
  const Symbol* symbol = Find(name);
  if (symbol == nullptr || !symbol->isList) return false;
  if (n < 1 || n > symbol->items.size()) return false;
  *item = symbol->items[n - 1];
  return true;
}

std::size_t SymbolTable::ListLength(const std::string& name) const {
  const Symbol* symbol = Find(name);
  return symbol != nullptr && symbol->isList ? symbol->items.size() : 0;
}

void SymbolTable::Clear() { symbols_.clear(); }

const SymbolTable::Symbol* SymbolTable::Find(const std::string& name) const {
  auto found = symbols_.find(name);
  return found == symbols_.end() ? nullptr : &found->second;
}

}  // namespace stf
