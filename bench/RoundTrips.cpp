// Round trips of one VelZidBol run whose delivery-note database sits behind a slow link: the
// private server reached through a LatencyProxy, the archive embedded. For the library, the floor
// of the benchmarks and the fewest round trips the client API allows for the same statements and
// results, it counts the round trips of one run (at no delay) and times runs directly on the
// server and at 10 ms and 50 ms one way. The goal: the library needs the fewest, and at 50 ms it
// takes at most 5 % more than (round trips x 100 ms) + its time without the proxy.
//
//   brontelx_roundtrips [--runs=N] [--markdown=FILE]      (needs BRONTELX_FB_PORT)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench/LatencyProxy.h"
#include "bench/ProgramMain.h"
#include "bench/VelZidBolData.h"
#include "bench/VelZidBolFewest.h"
#include "bench/VelZidBolFloor.h"
#include "database/DRKDBUtility.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TestDatabase.h"
#include "userdir/DRKTabX.h"
#include "validations/VelValidazPers.h"

namespace brontelx::bench {
namespace {

using Clock = std::chrono::steady_clock;

struct Variant {
  Variant(std::string name, std::function<std::string()> run) : name(std::move(name)), run(std::move(run)) {}
  std::string name;
  std::function<std::string()> run;
  std::uint64_t roundTrips = 0;
  std::uint64_t connections = 0;
  std::vector<std::uint64_t> byCharset;    // round trips on the delivery-note databases of kCharsets
  std::vector<double> direct, at10, at50;  // seconds per run
};

// The default character sets of the delivery-note databases the round trips are counted on; the
// times are taken on the first.
constexpr const char* kCharsets[] = {"UTF8", "WIN1252", "NONE"};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t half = values.size() / 2;
  return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

std::string Ms(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f ms", seconds * 1e3);
  return text;
}

int Main(int argc, char** argv) {
  int runs = 5;
  std::string markdown;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with("--runs=")) {
      runs = std::stoi(std::string(arg.substr(7)));
    } else if (arg.starts_with("--markdown=")) {
      markdown = arg.substr(11);
    } else {
      std::cerr << "usage: brontelx_roundtrips [--runs=N] [--markdown=FILE]\n";
      return 2;
    }
  }
  const std::optional<int> port = testing::LoopbackPort();
  if (!port) {
    std::cerr << "BRONTELX_FB_PORT is not set (scripts/bench.sh starts the server and sets it)\n";
    return 2;
  }

  std::vector<std::unique_ptr<DeliveryNotes>> notesByCharset;
  for (const char* charset : kCharsets) notesByCharset.push_back(std::make_unique<DeliveryNotes>(charset));
  const DeliveryNotes& notes = *notesByCharset.front();
  LatencyProxy proxy(*port);
  const auto behind = [&](const DeliveryNotes& database) {
    return "127.0.0.1/" + std::to_string(proxy.Port()) + ":" + database.Path();
  };
  const std::string direct = "127.0.0.1/" + std::to_string(*port) + ":" + notes.Path();
  const std::string slow = behind(notes);
  ValidationArchive archive(slow, 10000);
  const auto locate = [&](const std::string& location) {
    TDRKTabX tabX;
    tabX.SetDatabase(&archive.Library());
    tabX.SetParametroTesto("VelZidBolDBRux", location, 0);
  };

  db::Status status;
  std::vector<Variant> variants{
      {"library", [&] { return EseguiValidazPers(archive.Library(), "VelZidBol", kLogUser, kAcceptedCode); }},
      {"floor of the benchmarks", [&] { return FloorVelZidBol(status, archive.Raw(), kLogUser, kAcceptedCode); }},
      {"fewest", [&] { return FewestVelZidBol(status, archive.Raw(), kLogUser, kAcceptedCode); }},
  };

  // Counted at no delay: the count does not depend on it.
  proxy.SetDelay(std::chrono::milliseconds(0));
  // A datum with a letter beyond ASCII, which no delivery note has: its count needs the server's
  // description of the marker (and, for a column typed NONE, the database's character set).
  const std::string accented = "Città-1";
  std::vector<std::uint64_t> accentedTrips;
  for (const auto& charsetNotes : notesByCharset) {
    locate(behind(*charsetNotes));
    for (int run = 0; run < 2; ++run) {
      proxy.ResetCounts();
      const std::string result = EseguiValidazPers(archive.Library(), "VelZidBol", kLogUser, accented);
      if (result != "ERR - Bolletta " + accented + " non trovata nell'archivio RUX.")
        throw std::runtime_error("the library gives \"" + result + "\" for " + accented);
    }
    accentedTrips.push_back(proxy.RoundTrips());
    for (Variant& variant : variants) {
      variant.run();  // warms the server's caches and checks the answer
      proxy.ResetCounts();
      const std::string result = variant.run();
      if (result != "OK") throw std::runtime_error(variant.name + " gives \"" + result + "\" instead of OK");
      variant.byCharset.push_back(proxy.RoundTrips());
      if (charsetNotes == notesByCharset.front()) {
        variant.roundTrips = proxy.RoundTrips();
        variant.connections = proxy.Connections();
      }
    }
  }

  // Timed runs, the variants taking turns so that each sees the same state of the machine.
  const auto time = [&](std::vector<double> Variant::*series, int count) {
    for (int i = 0; i < count; ++i) {
      for (Variant& variant : variants) {
        const auto start = Clock::now();
        variant.run();
        (variant.*series).push_back(std::chrono::duration<double>(Clock::now() - start).count());
      }
    }
  };
  locate(direct);
  time(&Variant::direct, runs * 4);
  locate(slow);
  proxy.SetDelay(std::chrono::milliseconds(10));
  time(&Variant::at10, runs);
  proxy.SetDelay(std::chrono::milliseconds(50));
  time(&Variant::at50, runs);

  const Variant& fewest = variants.back();
  std::ostringstream table;
  table << "| VelZidBol run | round trips | TCP connections | no proxy | 10 ms one way | 50 ms one way | own "
           "round "
           "trips x 100 ms + no proxy | 50 ms / that | fewest x 100 ms + no proxy | 50 ms / that | goal |\n"
           "|---|---|---|---|---|---|---|---|---|---|---|\n";
  const auto ratio = [](double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", value);
    return std::string(text);
  };
  for (const Variant& variant : variants) {
    const double own = static_cast<double>(variant.roundTrips) * 0.1 + Median(variant.direct);
    const double bound = static_cast<double>(fewest.roundTrips) * 0.1 + Median(variant.direct);
    const double atFifty = Median(variant.at50);
    std::string goal = "-";
    if (&variant == &variants.front()) {
      const bool fewestTrips = variant.byCharset == fewest.byCharset;
      const bool fast = atFifty <= 1.05 * bound;
      goal = std::string("fewest round trips: ") + (fewestTrips ? "met" : "**MISSED**") +
             "; 50 ms <= 1.05 x bound: " + (fast ? "met" : "**MISSED**");
    }
    table << "| " << variant.name << " | " << variant.roundTrips << " | " << variant.connections << " | "
          << Ms(Median(variant.direct)) << " | " << Ms(Median(variant.at10)) << " | " << Ms(atFifty) << " | "
          << Ms(own) << " | " << ratio(atFifty / own) << " | " << Ms(bound) << " | " << ratio(atFifty / bound)
          << " | " << goal << " |\n";
  }

  table << "\nRound trips per validation by the delivery-note database's default character set (the datum "
           "is ASCII):\n\n| VelZidBol run |";
  for (const char* charset : kCharsets) table << " " << charset << " |";
  table << "\n|---|";
  for (std::size_t i = 0; i < std::size(kCharsets); ++i) table << "---|";
  table << "\n";
  for (const Variant& variant : variants) {
    table << "| " << variant.name << " |";
    for (const std::uint64_t count : variant.byCharset) table << " " << count << " |";
    table << "\n";
  }
  table << "| library, datum \"" << accented << "\" (not found: the delivery-note side only) |";
  for (const std::uint64_t count : accentedTrips) table << " " << count << " |";
  table << "\n";

  // The same run with the archive on the server too, behind the same link, as the load benchmark
  // has it: the archive's attachment is the session's, open before the run.
  table
      << "\nWith the archive on the server too (behind the same link; its attachment is the session's, open "
         "before the run), round trips per validation:\n\n| VelZidBol run | round trips | on the archive "
         "|\n|---|---|---|\n";
  {
    testing::TestDatabase remoteFile(schema::Kind::Archive);
    {
      db::Connection filling;
      OpenIBDatabase(filling, remoteFile.Path());
      FillValidationArchive(filling, slow, 10000);
    }
    const std::string remoteArchive = "127.0.0.1/" + std::to_string(proxy.Port()) + ":" + remoteFile.Path();
    db::Connection library;
    OpenIBDatabase(library, remoteArchive);
    db::FbHandle<Firebird::IAttachment> raw(floor::Attach(status, remoteArchive));
    proxy.SetDelay(std::chrono::milliseconds(0));
    const Variant* deliverySide = &variants.front();
    for (Variant& variant : std::vector<Variant>{
             {"library", [&] { return EseguiValidazPers(library, "VelZidBol", kLogUser, kAcceptedCode); }},
             {"floor of the benchmarks",
              [&] { return FloorVelZidBol(status, raw.get(), kLogUser, kAcceptedCode); }}}) {
      variant.run();
      proxy.ResetCounts();
      const std::string result = variant.run();
      if (result != "OK") throw std::runtime_error(variant.name + " gives \"" + result + "\" instead of OK");
      // The delivery-note side's share is what the same run needs with the archive embedded.
      table << "| " << variant.name << " | " << proxy.RoundTrips() << " | "
            << proxy.RoundTrips() - deliverySide->roundTrips << " |\n";
      ++deliverySide;
    }
  }
  std::cout << table.str();
  if (!markdown.empty()) {
    std::ofstream file(markdown);
    file << table.str();
    if (!file) throw std::runtime_error("cannot write " + markdown);
  }
  return 0;
}

}  // namespace
}  // namespace brontelx::bench

int main(int argc, char** argv) { return brontelx::bench::RunProgram("brontelx_roundtrips", brontelx::bench::Main, argc, argv); }
