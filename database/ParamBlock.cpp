#include "database/internal/ParamBlock.h"

#include "database/FbClient.h"

namespace brontelx::db {

ParamBlock::ParamBlock(unsigned kind) : builder_(Util()->getXpbBuilder(&status_, kind, nullptr, 0)) {}

void ParamBlock::AddTag(unsigned char tag) { builder_->insertTag(&status_, tag); }

void ParamBlock::AddInt(unsigned char tag, int value) { builder_->insertInt(&status_, tag, value); }

void ParamBlock::AddText(unsigned char tag, const std::string& value) {
  builder_->insertString(&status_, tag, value.c_str());
}

std::vector<unsigned char> ParamBlock::Bytes() {
  const unsigned char* buffer = builder_->getBuffer(&status_);
  const unsigned length = builder_->getBufferLength(&status_);
  return std::vector<unsigned char>(buffer, buffer + length);
}

}  // namespace brontelx::db
