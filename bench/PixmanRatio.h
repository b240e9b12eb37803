#pragma once
// A console reporter that, after the usual table, prints each of our cases
// as a ratio of the pixman case of the same run: our time / pixman's, so
// below 1 is faster.  The ratio of two figures taken minutes apart on a
// shared machine means little; taken in the same run it survives the noise.
// Processor times are compared, which a busy machine disturbs far less than
// elapsed ones; with --benchmark_repetitions, their medians.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zel::bench {

class PixmanRatioReporter : public benchmark::ConsoleReporter {
public:
  // Pairs of (our benchmark function, pixman's): a case of ours is compared
  // with pixman's case of the same arguments, or of its leading arguments
  // (ours may have more), or with pixman's only case.
  explicit PixmanRatioReporter(std::vector<std::pair<std::string, std::string>> pairs)
      : FPairs(std::move(pairs)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.error_occurred || !(single || median)) continue;
      FTimes[run.run_name.function_name][run.run_name.args] = run.GetAdjustedCPUTime();
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [ours, peer] : FPairs) {
      const auto o = FTimes.find(ours), p = FTimes.find(peer);
      if (o == FTimes.end() || p == FTimes.end()) continue;
      for (const auto& [args, time] : o->second) {
        auto match = p->second.find(args);
        for (std::string lead = args; match == p->second.end() && !lead.empty();) {
          const size_t cut = lead.rfind('/');
          lead = cut == std::string::npos ? std::string() : lead.substr(0, cut);
          match = p->second.find(lead);
        }
        if (match == p->second.end() && p->second.size() == 1) match = p->second.begin();
        if (match == p->second.end() || match->second <= 0) continue;
        std::printf("%s/%s vs %s: %.2fx pixman's time\n", ours.c_str(), args.c_str(), peer.c_str(),
                    time / match->second);
      }
    }
  }

private:
  std::vector<std::pair<std::string, std::string>> FPairs;
  std::map<std::string, std::map<std::string, double>> FTimes;
};

// main() of a benchmark program that prints the ratios of pairs.
inline int RunWithPixmanRatios(int argc, char** argv,
                               std::vector<std::pair<std::string, std::string>> pairs) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  PixmanRatioReporter reporter(std::move(pairs));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

} // namespace zel::bench
