#pragma once

#include <string>
#include <vector>

namespace tolvaren {

// An ordered list of byte strings that allows duplicates.
class StringList {
 public:
  void Add(std::string text) { items_.push_back(std::move(text)); }
  void Clear() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& operator[](int index) const { return items_.at(static_cast<std::size_t>(index)); }
  const std::vector<std::string>& Items() const { return items_; }

 private:
  std::vector<std::string> items_;
};

}  // namespace tolvaren
