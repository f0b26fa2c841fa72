#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>

namespace brontelx {

// The delivery-note databases that a run of validations could not reach, each with the result
// text its failure gave, remembered for `period`: within it, a later validation of the same
// location answers with the same text at once instead of waiting for the server's timeout again
// (a batch of many data against a server that is down). After the period the next validation
// tries the location again; one that is reached is forgotten.
class UnreachableDatabases {
 public:
  static constexpr std::chrono::seconds kDefaultPeriod{60};

  explicit UnreachableDatabases(std::chrono::steady_clock::duration period = kDefaultPeriod) : period_(period) {}

  // The remembered result text of `location`, while its period lasts.
  std::optional<std::string> Failure(const std::string& location) const;
  void Remember(const std::string& location, const std::string& result);
  void Forget(const std::string& location) { failures_.erase(location); }

 private:
  struct Entry {
    std::string result;
    std::chrono::steady_clock::time_point until;
  };
  std::chrono::steady_clock::duration period_;
  std::map<std::string, Entry> failures_;
};

}  // namespace brontelx
