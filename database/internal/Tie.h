#pragma once

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace brontelx::db {

template <typename Owner>
class Ties;

// Layer internal. A dependent's tie to what it was made from: a transaction's or a statement's to
// its connection, a statement's to its transaction. Made with the dependent and never moved to
// another owner; the owner asks every tied dependent to end its use of it (`end`, which must not
// throw) before it ends itself. When the dependent goes its tie leaves the owner; when the owner
// goes first the tie comes loose and Get() answers null.
template <typename Owner>
class Tie {
 public:
  Tie(Ties<Owner>* ties, std::function<void()> end) : ties_(ties), end_(std::move(end)) {
    if (ties_) ties_->tied_.push_back(this);
  }
  ~Tie() {
    if (ties_) std::erase(ties_->tied_, this);
  }
  Tie(const Tie&) = delete;
  Tie& operator=(const Tie&) = delete;

  Owner* Get() const { return ties_ ? &ties_->owner_ : nullptr; }

 private:
  friend class Ties<Owner>;
  Ties<Owner>* ties_;
  std::function<void()> end_;
};

// The ties of an owner's dependents.
template <typename Owner>
class Ties {
 public:
  explicit Ties(Owner& owner) : owner_(owner) {}
  ~Ties() {
    for (Tie<Owner>* tie : tied_) tie->ties_ = nullptr;
  }
  Ties(const Ties&) = delete;
  Ties& operator=(const Ties&) = delete;

  // Each dependent ends its use of the owner; they stay tied.
  void EndAll() noexcept {
    for (Tie<Owner>* tie : std::vector<Tie<Owner>*>(tied_)) tie->end_();
  }

 private:
  friend class Tie<Owner>;
  Owner& owner_;
  std::vector<Tie<Owner>*> tied_;
};

}  // namespace brontelx::db
