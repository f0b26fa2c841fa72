#pragma once

#include <firebird/Interface.h>

namespace brontelx::db {

// The client library's master, provider and utility interfaces. fb_get_master_interface() is
// called here and nowhere else.
Firebird::IMaster* Master();
Firebird::IProvider* Provider();
Firebird::IUtil* Util();

// Stops the client and the embedded engine: their threads end and what is still attached is
// detached. For the end of a program; nothing may use the client afterwards.
void ShutdownClient();

// A status vector that turns an error into DatabaseError. Use one per call sequence:
//   Status st; attachment->detach(st.Get()); st.Check();
class Status {
 public:
  Status();
  ~Status();
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;

  Firebird::CheckStatusWrapper* Get() { return &wrapper_; }
  bool Failed() const;
  // Throws DatabaseError when the last call failed, and clears the vector either way.
  void Check();
  void Clear() { wrapper_.clearException(); }

 private:
  Firebird::IStatus* status_;
  Firebird::CheckStatusWrapper wrapper_;
};

}  // namespace brontelx::db

namespace brontelx::db {

// Owns one reference of a reference-counted interface (metadata, builders).
template <typename T>
class FbRef {
 public:
  FbRef() = default;
  explicit FbRef(T* p) : p_(p) {}
  ~FbRef() { reset(); }
  FbRef(FbRef&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
  FbRef& operator=(FbRef&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = other.p_;
      other.p_ = nullptr;
    }
    return *this;
  }
  FbRef(const FbRef&) = delete;
  FbRef& operator=(const FbRef&) = delete;

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset(T* p = nullptr) {
    if (p_) p_->release();
    p_ = p;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace brontelx::db
