#pragma once

#include <memory>

namespace brontelx::db {

struct FbReleaser {
  template <typename T>
  void operator()(T* p) const noexcept {
    p->release();
  }
};

// Owns one reference of a reference-counted interface that has no other way to end (message
// metadata, metadata builders).
template <typename T>
using FbRef = std::unique_ptr<T, FbReleaser>;

}  // namespace brontelx::db
