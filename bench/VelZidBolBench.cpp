// The delivery-note validation: EseguiValidazPers against a floor doing the same statements in
// the same transactions, with the delivery-note database embedded and on the loopback server; and
// the library's run with a log of 10 000 and of 1 000 000 entries.
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "bench/Fixtures.h"
#include "bench/FloorApi.h"
#include "bench/Registration.h"
#include "bench/VelZidBolData.h"
#include "bench/VelZidBolFloor.h"
#include "validations/VelValidazPers.h"

namespace brontelx::bench {
namespace {

struct EmbeddedNotes : DeliveryNotes {};
struct LoopbackNotes : DeliveryNotes {};

struct EmbeddedLog10k : ValidationArchive {
  EmbeddedLog10k() : ValidationArchive(Shared<EmbeddedNotes>().Path(), 10000) {}
};
struct EmbeddedLog1M : ValidationArchive {
  EmbeddedLog1M() : ValidationArchive(Shared<EmbeddedNotes>().Path(), 1000000) {}
};
struct LoopbackLog10k : ValidationArchive {
  LoopbackLog10k() : ValidationArchive(LoopbackLocation(Shared<LoopbackNotes>().Path()).value(), 10000) {}
};

template <typename Archive>
Side Library() {
  db::Connection& archive = Shared<Archive>().Library();
  Side side{[&archive] {
    std::string result = EseguiValidazPers(archive, "VelZidBol", kLogUser, kAcceptedCode);
    benchmark::DoNotOptimize(result);
  }};
  // One unmeasured run on each side, as a check of the answer.
  const std::string first = EseguiValidazPers(archive, "VelZidBol", kLogUser, kAcceptedCode);
  if (first != "OK") throw std::runtime_error("the library gives \"" + first + "\" instead of OK");
  return side;
}

template <typename Archive>
Side Floor() {
  Firebird::IAttachment* archive = Shared<Archive>().Raw();
  auto status = std::make_shared<db::Status>();
  const std::string first = FloorVelZidBol(*status, archive, kLogUser, kAcceptedCode);
  if (first != "OK") throw std::runtime_error("the floor gives \"" + first + "\" instead of OK");
  return {[archive, status] {
    std::string result = FloorVelZidBol(*status, archive, kLogUser, kAcceptedCode);
    benchmark::DoNotOptimize(result);
  }};
}

}  // namespace

void RegisterVelZidBolBenchmarks(RatioReporter& reporter) {
  RegisterPair(reporter, "2 VelZidBol, embedded: library/floor", "VelZidBol/embedded/log10k", Library<EmbeddedLog10k>,
               Floor<EmbeddedLog10k>, {1.10});
  if (LoopbackLocation("")) {
    RegisterPair(reporter, "2 VelZidBol, delivery notes on loopback: library/floor", "VelZidBol/loopback/log10k",
                 Library<LoopbackLog10k>, Floor<LoopbackLog10k>, {1.10});
  } else {
    reporter.Note("loopback",
                  "VelZidBol over the loopback server skipped: BRONTELX_FB_PORT is not set "
                  "(scripts/bench.sh starts the server and sets it)");
  }
  RegisterPair(reporter, "3 VelZidBol, log 1 000 000 / 10 000 entries (library)", "VelZidBol/embedded/log1M-log10k",
               Library<EmbeddedLog1M>, Library<EmbeddedLog10k>, {1.5});
}

}  // namespace brontelx::bench
