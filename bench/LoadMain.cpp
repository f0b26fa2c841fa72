// The load benchmark: K workstations (client processes) on one private server holding all three
// databases. For each K, K clients run VelZidBol in a loop through the library and K clients do the
// same on the plain API, in short spells that take turns; the report gives validations per second,
// median and 99th-percentile latency, errors, the library/raw throughput ratio (the median of the
// rounds' ratios), and the server's attachments and transactions once the clients have gone. Then
// K hosts save the settings window's location and placement at the same time: no error box may
// appear, and no write may be lost beyond "the later write wins".
//
//   brontelx_load run [--seconds=S] [--validation-rounds=N] [--clients=1,4,16,64] [--rounds=R]
//                     [--markdown=FILE] [--plot=FILE.svg]
//
// After one untimed spell of each side, each side validates in N rounds of S seconds (default 10
// of 1.5; N even), the two spells of a round one right after the other, the first of them
// alternating; the settings windows save R times each (default 3).
//
// It needs BRONTELX_FB_PORT (scripts/bench.sh starts the server). The clients are this program
// again ("client" and "settings" modes), started from its own folder, where user/dati.ini sends
// them to the user directory on the server.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "bench/LoadPlot.h"
#include "bench/LoadSite.h"
#include "bench/LoadWorkers.h"
#include "bench/ProgramMain.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/LoopbackServer.h"

namespace brontelx::bench {
namespace {

namespace fs = std::filesystem;
using testing::ChildProcess;

constexpr auto kStartBound = std::chrono::seconds(180);
// The untimed spell each side runs before the timed rounds: sessions, server caches and the
// client library's lazily built state are then warm on both sides alike.
constexpr double kWarmUpSeconds = 1;

// The processor, its logical CPUs, the memory and the time of the run, for the plot.
std::string MachineAndDate() {
  std::string cpu = "unknown processor";
  std::ifstream cpuinfo("/proc/cpuinfo");
  for (std::string line; std::getline(cpuinfo, line);) {
    if (line.starts_with("model name")) {
      cpu = line.substr(line.find(':') + 2);
      break;
    }
  }
  double memory = 0;
  std::ifstream meminfo("/proc/meminfo");
  for (std::string line; std::getline(meminfo, line);) {
    if (line.starts_with("MemTotal:")) memory = std::stod(line.substr(9)) / 1048576;
  }
  const std::time_t now = std::time(nullptr);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
  char text[256];
  std::snprintf(text, sizeof text, "%u logical CPUs, %s, %.1f GiB; Firebird Super server on 127.0.0.1; %s",
                std::thread::hardware_concurrency(), cpu.c_str(), memory, date);
  return text;
}
constexpr auto kEndBound = std::chrono::seconds(180);

struct Options {
  double seconds = 1.5;       // of each spell of validations
  int validationRounds = 10;  // each a spell of either side, the first of them alternating
  std::vector<int> clients{1, 4, 16, 64};
  int rounds = 3;
  std::string markdown;
  std::string plot;
};

struct ValidationStep {
  double perSecond = 0;        // the mean of the rounds' rates
  std::vector<double> rates;   // by round: the sum of each client's validations over its own time
  double median = 0, p99 = 0;  // ms
  std::int64_t validations = 0, errors = 0;
  std::int64_t cpuMicroseconds = 0;  // of the client processes, all together
  std::string firstError;
  LoadSite::Counts after;
};

struct SettingsStep {
  int saves = 0;
  std::vector<std::string> errorBoxes;
  bool laterWins = false;
  std::string laterWinsNote;
  int placementsKept = 0;
  LoadSite::Counts after;
};

// Interpolated between the two nearest values, so that the median of an even count is the mean of
// the middle two and not the upper one.
template <typename T>
double Quantile(std::vector<T> values, double q) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const double position = q * static_cast<double>(values.size() - 1);
  const auto below = static_cast<std::size_t>(position);
  const std::size_t above = std::min(below + 1, values.size() - 1);
  const double fraction = position - static_cast<double>(below);
  return static_cast<double>(values[below]) * (1 - fraction) + static_cast<double>(values[above]) * fraction;
}

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& arguments) {
  return std::make_unique<ChildProcess>(fs::read_symlink("/proc/self/exe").string(), arguments);
}

void WaitUntilReady(const std::vector<std::unique_ptr<ChildProcess>>& children) {
  for (const auto& child : children) {
    if (!child->WaitForOutput("ready", kStartBound))
      throw std::runtime_error("a client did not start: " + child->Errors() + child->Output());
  }
}

void WaitUntilEnded(const std::vector<std::unique_ptr<ChildProcess>>& children) {
  for (const auto& child : children) {
    const std::optional<testing::ChildStatus> status = child->Wait(kEndBound);
    if (!status || !status->exited || status->code != 0)
      throw std::runtime_error("a client failed: " + child->Errors() + child->Output());
  }
}

// Waits until the server holds as many attachments and transactions as at the start (the server
// notices closed connections on its own time), at most a minute; returns what it holds then.
LoadSite::Counts CountsAfter(const LoadSite& site, const LoadSite::Counts& start) {
  LoadSite::Counts counts = site.ServerCounts();
  for (int i = 0; i < 60 && counts != start; ++i) {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    counts = site.ServerCounts();
  }
  return counts;
}

// What the clients of one side printed, summed: errors of every round, the rest of the timed rounds
// only (each client's first round is the warm-up); a round's rate adds up each client's
// validations over its own time.
ValidationStep Collect(const std::vector<std::unique_ptr<ChildProcess>>& children, int rounds) {
  ValidationStep step;
  step.rates.assign(static_cast<std::size_t>(rounds), 0);
  std::vector<std::int64_t> latencies;
  for (const auto& child : children) {
    std::istringstream output(child->Output());
    std::string line;
    int round = 0;  // the client's round the lines belong to, 0 for the warm-up
    while (std::getline(output, line)) {
      std::istringstream words(line);
      std::string word;
      words >> word;
      const bool timed = round > 0;
      if (word == "end") {
        ++round;
      } else if (round > rounds) {
        continue;
      } else if (word == "done") {
        std::int64_t count = 0, errors = 0, cpu = 0, elapsed = 0;
        words >> count >> errors >> cpu >> elapsed;
        step.errors += errors;
        if (!timed) continue;
        step.validations += count;
        step.cpuMicroseconds += cpu;
        if (elapsed > 0)
          step.rates[static_cast<std::size_t>(round - 1)] +=
              static_cast<double>(count) * 1e6 / static_cast<double>(elapsed);
      } else if (word == "latencies" && timed) {
        std::int64_t latency = 0;
        while (words >> latency) latencies.push_back(latency);
      } else if (word == "error" && step.firstError.empty()) {
        step.firstError = line.substr(6);
      }
    }
  }
  for (const double rate : step.rates) step.perSecond += rate / rounds;
  step.median = Quantile(latencies, 0.5) / 1000;
  step.p99 = Quantile(latencies, 0.99) / 1000;
  return step;
}

// Runs one spell of `seconds` on the clients of one side and waits until each has ended it (its
// `round`, counted by the client from 1).
void RunSpell(const std::vector<std::unique_ptr<ChildProcess>>& side, int round, double seconds) {
  for (const auto& child : side) child->Write("go " + Fixed(seconds, 3) + "\n");
  for (const auto& child : side) {
    if (!child->WaitForOutput("end " + std::to_string(round) + "\n", kEndBound))
      throw std::runtime_error("a client did not finish its round: " + child->Errors() + child->Output());
  }
}

// K library clients and K raw clients, all with their sessions started; one untimed spell of each
// side; then `rounds` rounds of a library spell and a raw spell of `seconds` each, one right after
// the other, the library first in every other round (L R, R L, L R, ...), so that the two spells
// of a round meet nearly the same state of the shared machine and each side goes first as often.
std::pair<ValidationStep, ValidationStep> RunValidations(const LoadSite& site, const LoadSite::Counts& start,
                                                         int clients, int rounds, double seconds) {
  std::vector<std::unique_ptr<ChildProcess>> sides[2];  // library, raw
  for (int side = 0; side < 2; ++side) {
    for (int user = 1; user <= clients; ++user)
      sides[side].push_back(Start({"client", side == 0 ? "library" : "raw", std::to_string(user), site.UserDirectory()}));
  }
  for (const auto& children : sides) WaitUntilReady(children);
  for (const auto& children : sides) RunSpell(children, 1, kWarmUpSeconds);
  for (int round = 1; round <= rounds; ++round) {
    for (const int side : round % 2 ? std::vector{0, 1} : std::vector{1, 0}) RunSpell(sides[side], round + 1, seconds);
  }
  for (const auto& children : sides) {
    for (const auto& child : children) child->Write("quit\n");
    WaitUntilEnded(children);
  }
  ValidationStep library = Collect(sides[0], rounds);
  ValidationStep raw = Collect(sides[1], rounds);
  library.after = raw.after = CountsAfter(site, start);
  return {library, raw};
}

// The median and quartiles of the rounds' ratios library/raw.
struct Ratio {
  double median = 0, low = 0, high = 0;
};

Ratio RoundRatios(const ValidationStep& library, const ValidationStep& raw) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < library.rates.size() && i < raw.rates.size(); ++i)
    ratios.push_back(raw.rates[i] > 0 ? library.rates[i] / raw.rates[i] : 0);
  return {Quantile(ratios, 0.5), Quantile(ratios, 0.25), Quantile(ratios, 0.75)};
}

SettingsStep RunSettings(const LoadSite& site, const LoadSite::Counts& start, int hosts, int rounds) {
  std::vector<std::unique_ptr<ChildProcess>> children;
  for (int user = 1; user <= hosts; ++user) children.push_back(Start({"settings", std::to_string(user), std::to_string(rounds)}));
  WaitUntilReady(children);
  for (const auto& child : children) child->Write("go\n");
  WaitUntilEnded(children);
  struct Save {
    std::int64_t begin = 0, end = 0;
    std::string location;
    std::string placement;
  };
  SettingsStep step;
  std::map<int, Save> last;  // by host (user)
  Save latest;
  for (int host = 1; host <= hosts; ++host) {
    std::istringstream output(children[static_cast<std::size_t>(host - 1)]->Output());
    std::string line;
    while (std::getline(output, line)) {
      std::istringstream words(line);
      std::string word;
      words >> word;
      if (word == "saved") {
        Save save;
        std::string x, y;
        words >> save.begin >> save.end >> save.location >> x >> y;
        save.placement = x + " " + y;
        ++step.saves;
        last[host] = save;
        if (save.end > latest.end) latest = save;
      } else if (word == "errorbox") {
        step.errorBoxes.push_back(line.substr(9));
      }
    }
  }
  // The stored location must be the final write of a host, made no earlier than the start of the
  // save that ended last (overlapping saves may land in either order).
  const std::string stored = site.StoredLocation();
  const auto owner = std::find_if(last.begin(), last.end(), [&](const auto& entry) { return entry.second.location == stored; });
  if (owner == last.end()) {
    step.laterWinsNote = "stored \"" + stored + "\" is no host's final write";
  } else if (owner->second.end < latest.begin) {
    step.laterWinsNote = "stored write of host " + std::to_string(owner->first) + " ended before the last save began";
  } else {
    step.laterWins = true;
  }
  for (const auto& [host, save] : last) {
    if (site.StoredPlacement(host) == save.placement) ++step.placementsKept;
  }
  step.after = CountsAfter(site, start);
  return step;
}

double CpuPerValidation(const ValidationStep& step) {
  return step.validations ? static_cast<double>(step.cpuMicroseconds) / static_cast<double>(step.validations) / 1000 : 0;
}

std::string CountsText(const LoadSite::Counts& counts) {
  return std::to_string(counts.attachments) + " / " + std::to_string(counts.transactions);
}

int Coordinate(const Options& options) {
  const std::optional<int> port = testing::LoopbackPort();
  if (!port) throw std::runtime_error("BRONTELX_FB_PORT is not set (scripts/bench.sh starts the server and sets it)");
  const int most = *std::max_element(options.clients.begin(), options.clients.end());
  LoadSite site(*port, fs::read_symlink("/proc/self/exe").parent_path(), most);
  const LoadSite::Counts start = site.ServerCounts();

  std::ostringstream table;
  table << "Server attachments / transactions before the steps: " << CountsText(start) << "; "
        << options.validationRounds << " rounds of " << Fixed(options.seconds, 1)
        << " s a side after a warm-up; library/raw is the median of the rounds' ratios, quartiles in brackets\n\n"
        << "| K | library validations/s | raw validations/s | library/raw | library median / p99 | raw median / p99 "
           "| client CPU per validation, library / raw | errors library / raw | server after | goal |\n"
           "|---|---|---|---|---|---|---|---|---|---|\n";
  std::vector<double> libraryRates, rawRates;
  std::vector<std::string> notes;
  for (const int clients : options.clients) {
    std::cerr << "K = " << clients << ": library and raw taking turns" << std::endl;
    const auto [library, raw] = RunValidations(site, start, clients, options.validationRounds, options.seconds);
    libraryRates.push_back(library.perSecond);
    rawRates.push_back(raw.perSecond);
    const Ratio ratio = RoundRatios(library, raw);
    const bool met = library.errors == 0 && raw.errors == 0 && ratio.median >= 0.90 && library.after == start &&
                     raw.after == start;
    table << "| " << clients << " | " << Fixed(library.perSecond, 1) << " | " << Fixed(raw.perSecond, 1) << " | "
          << Fixed(ratio.median, 3) << " (" << Fixed(ratio.low, 3) << "–" << Fixed(ratio.high, 3) << ") | " << Fixed(library.median, 1) << " / " << Fixed(library.p99, 1) << " ms | "
          << Fixed(raw.median, 1) << " / " << Fixed(raw.p99, 1) << " ms | " << Fixed(CpuPerValidation(library), 2)
          << " / " << Fixed(CpuPerValidation(raw), 2) << " ms | " << library.errors << " / " << raw.errors
          << " | " << CountsText(library.after) << " | "
          << (met ? "met" : "**MISSED**") << " |\n";
    for (const ValidationStep* step : {&library, &raw}) {
      if (!step->firstError.empty())
        notes.push_back("K = " + std::to_string(clients) + (step == &library ? ", library" : ", raw") +
                        ": first error: " + step->firstError);
    }
  }
  table << "\n| K hosts saving together | saves | error boxes | stored location | placements kept | server after | goal "
           "|\n|---|---|---|---|---|---|---|\n";
  for (const int hosts : options.clients) {
    std::cerr << "K = " << hosts << ": settings windows saving together" << std::endl;
    const SettingsStep step = RunSettings(site, start, hosts, options.rounds);
    const bool met = step.errorBoxes.empty() && step.laterWins && step.placementsKept == hosts &&
                     step.saves == hosts * options.rounds && step.after == start;
    table << "| " << hosts << " | " << step.saves << " | " << step.errorBoxes.size() << " | "
          << (step.laterWins ? "a final write, the later one" : step.laterWinsNote) << " | " << step.placementsKept
          << " of " << hosts << " | " << CountsText(step.after) << " | " << (met ? "met" : "**MISSED**") << " |\n";
    if (!step.errorBoxes.empty())
      notes.push_back(std::to_string(hosts) + " hosts: first error box: " + step.errorBoxes.front());
  }
  if (!notes.empty()) {
    table << "\n";
    for (const std::string& note : notes) table << "- " << note << "\n";
  }
  std::cout << table.str();
  if (!options.markdown.empty()) {
    std::ofstream file(options.markdown);
    file << table.str();
    if (!file) throw std::runtime_error("cannot write " + options.markdown);
  }
  if (!options.plot.empty()) {
    std::ofstream file(options.plot);
    file << ThroughputPlot(options.clients, {{"library", "#1f77b4", libraryRates}, {"raw API", "#d62728", rawRates}},
                           MachineAndDate());
    if (!file) throw std::runtime_error("cannot write " + options.plot);
  }
  return 0;
}

std::vector<int> ParseList(std::string_view text) {
  std::vector<int> values;
  std::stringstream items{std::string(text)};
  std::string item;
  while (std::getline(items, item, ',')) values.push_back(std::stoi(item));
  if (values.empty()) throw std::runtime_error("no client counts given");
  return values;
}

int Main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 4 && args[0] == "client") return RunValidationClient(args[1] == "library", std::stoi(args[2]), args[3]);
  if (args.size() == 3 && args[0] == "settings") return RunSettingsHost(std::stoi(args[1]), std::stoi(args[2]), argc, argv);
  if (args.empty() || args[0] != "run") {
    std::cerr << "usage: brontelx_load run [--seconds=S] [--validation-rounds=N] [--clients=1,4,16,64] [--rounds=R] "
                 "[--markdown=FILE] [--plot=FILE.svg]\n";
    return 2;
  }
  Options options;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg.starts_with("--seconds=")) {
      options.seconds = std::stod(std::string(arg.substr(10)));
    } else if (arg.starts_with("--clients=")) {
      options.clients = ParseList(arg.substr(10));
    } else if (arg.starts_with("--validation-rounds=")) {
      options.validationRounds = std::stoi(std::string(arg.substr(20)));
      // Each side goes first in half of the rounds.
      if (options.validationRounds < 2 || options.validationRounds % 2)
        throw std::runtime_error("--validation-rounds must be even and at least 2");
    } else if (arg.starts_with("--rounds=")) {
      options.rounds = std::stoi(std::string(arg.substr(9)));
    } else if (arg.starts_with("--markdown=")) {
      options.markdown = arg.substr(11);
    } else if (arg.starts_with("--plot=")) {
      options.plot = arg.substr(7);
    } else {
      throw std::runtime_error("unknown argument " + std::string(arg));
    }
  }
  return Coordinate(options);
}

}  // namespace
}  // namespace brontelx::bench

int main(int argc, char** argv) { return brontelx::bench::RunProgram("brontelx_load", brontelx::bench::Main, argc, argv); }
