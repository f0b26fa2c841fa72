#pragma once

#include <algorithm>
#include <vector>

// Statements and transactions register with the transaction and the connection they use, so that
// those end them first when they end themselves.
namespace brontelx::db {

// Moves `dependent` from the dependents of `owner` to those of `next`, and makes `next` its owner.
template <typename Owner, typename Dependent>
void MoveDependent(Dependent* dependent, Owner*& owner, Owner* next) {
  if (owner) owner->RemoveDependent(dependent);
  owner = next;
  if (owner) owner->AddDependent(dependent);
}

template <typename T>
void EraseDependent(std::vector<T*>& dependents, T* dependent) {
  dependents.erase(std::remove(dependents.begin(), dependents.end(), dependent), dependents.end());
}

}  // namespace brontelx::db
