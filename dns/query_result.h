#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dns/result_records.h"
#include "platform/exception.h"

namespace tolvaren::dns {

// Raised when a record index that does not exist is read.
class EListError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EListError"; }
};

// The records of the last reply, in reply order (answer, authority and
// additional sections alike), and its echoed question.
class TQueryResult {
 public:
  int Count() const { return static_cast<int>(records_.size()); }

  const TResultRecord& operator[](int index) const {
    if (index < 0 || index >= Count()) {
      throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return *records_[static_cast<std::size_t>(index)];
  }

  TResultRecord& Add(std::unique_ptr<TResultRecord> record) {
    records_.push_back(std::move(record));
    return *records_.back();
  }

  void Clear() { records_.clear(); }

  std::string QuestionName;
  std::uint16_t QuestionType = 0;
  std::uint16_t QuestionClass = 0;

 private:
  std::vector<std::unique_ptr<TResultRecord>> records_;
};

}  // namespace tolvaren::dns
