#pragma once

#include <firebird/Interface.h>

#include <memory>
#include <string>
#include <vector>

#include "database/Status.h"

namespace brontelx::db {

// A parameter block (of an attach, a database creation or a transaction) written by the client's
// block builder, which also writes the block's version byte.
class ParamBlock {
 public:
  // Firebird::IXpbBuilder::DPB or TPB.
  explicit ParamBlock(unsigned kind);

  void AddTag(unsigned char tag);
  void AddInt(unsigned char tag, int value);
  void AddText(unsigned char tag, const std::string& value);
  std::vector<unsigned char> Bytes();

 private:
  struct Disposer {
    void operator()(Firebird::IXpbBuilder* builder) const noexcept { builder->dispose(); }
  };
  Status status_;
  std::unique_ptr<Firebird::IXpbBuilder, Disposer> builder_;
};

}  // namespace brontelx::db
