#include "validations/UnreachableDatabases.h"

namespace brontelx {

std::optional<std::string> UnreachableDatabases::Failure(const std::string& location) const {
  const auto found = failures_.find(location);
  if (found == failures_.end() || std::chrono::steady_clock::now() >= found->second.until) return std::nullopt;
  return found->second.result;
}

void UnreachableDatabases::Remember(const std::string& location, const std::string& result) {
  failures_[location] = {result, std::chrono::steady_clock::now() + period_};
}

}  // namespace brontelx
