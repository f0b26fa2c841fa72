#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brontelx::db {

// The value bound to one named parameter of a statement; every marker of that name receives it.
class Param {
 public:
  enum class Kind { Null, Text, Integer };

  explicit Param(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }

  void SetString(std::string_view value);
  void SetInt(std::int64_t value);
  void SetNull();

  Kind GetKind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }
  const std::string& Text() const { return text_; }
  std::int64_t Integer() const { return integer_; }

 private:
  std::string name_;
  Kind kind_ = Kind::Null;
  std::string text_;
  std::int64_t integer_ = 0;
};

}  // namespace brontelx::db
