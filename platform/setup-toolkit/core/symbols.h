// The symbol table scripts keep their state in. A symbol is either a plain
// value or a list (an ordered sequence of strings, items numbered from 1).
// Names are non-empty and compare without regard to ASCII case.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "ansi_text.h"

namespace stf {

class SymbolTable {
 public:
  // Sets a plain value, replacing whatever the name held (a list too).
  // False only for an empty name.
  bool Set(const std::string& name, const std::string& value);

  // The value of a plain symbol; a list reads as {"item1","item2"} with each
  // item quoted and any quote in it doubled ({} when empty). False when absent.
  bool Get(const std::string& name, std::string* value) const;

  bool Remove(const std::string& name);  // false when absent
  bool Exists(const std::string& name) const;
  bool IsList(const std::string& name) const;

  // Makes name a list of these items, replacing whatever it held.
  // False only for an empty name.
  bool SetList(const std::string& name, std::vector<std::string> items);

  // Appends to a list, creating it when the name is absent. False for an
  // empty name or a name holding a plain value.
  bool Append(const std::string& name, const std::string& item);
  // Replace or read item n (from 1). False when the name is not a list or
  // has no item n.
  bool ReplaceItem(const std::string& name, std::size_t n, const std::string& item);
  bool GetItem(const std::string& name, std::size_t n, std::string* item) const;
  // Items in the list; 0 when the name is absent or holds a plain value.
  std::size_t ListLength(const std::string& name) const;

  void Clear();

 private:
  struct Symbol {
    bool isList = false;
    std::string value;
    std::vector<std::string> items;
  };
  const Symbol* Find(const std::string& name) const;

  std::map<std::string, Symbol, NoCaseLess> symbols_;
};

}  // namespace stf
