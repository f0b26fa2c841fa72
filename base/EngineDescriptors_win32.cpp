#include "base/EngineDescriptors.h"

namespace brontelx::db::client {

EngineDescriptors::EngineDescriptors() = default;
EngineDescriptors::~EngineDescriptors() = default;

}  // namespace brontelx::db::client
