// qzfuzz: runs random sessions, one seed after another, until the asked
// number of actions or seconds is used up.
//
//   qzfuzz [--seed S] [--actions N] [--per-seed M] [--seconds T] [--out DIR] [--trace]
//
// Seeds S, S+1, ... each run M actions (the last one fewer) until N actions
// are done or T seconds have passed. For each failure a reproducer script
// DIR/seed-S.sh is written that runs the failing seed up to the failing
// action with the trace on. While a seed runs, DIR/running holds its seed
// and action count, so that a run the sanitizer stops can be turned into a
// reproducer by scripts/fuzz.sh. Exit code 0 when every seed passed.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "random_session.h"

// In the sanitizer build: a leak check that reports and goes on.
extern "C" int __lsan_do_recoverable_leak_check() __attribute__((weak));

namespace {

struct Options {
  uint64_t Seed = 1;
  uint64_t Actions = 1000;
  uint64_t PerSeed = 2000;
  double Seconds = 0.0;  // 0: no limit
  std::string Out = "fuzz-failures";
  bool Trace = false;
  std::string Self;
};

bool Parse(int argc, char** argv, Options* options) {
  options->Self = argv[0];
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--trace") {
      options->Trace = true;
    } else if (arg == "--seed" && hasValue) {
      options->Seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--actions" && hasValue) {
      options->Actions = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--per-seed" && hasValue) {
      options->PerSeed = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--seconds" && hasValue) {
      options->Seconds = std::strtod(argv[++i], nullptr);
    } else if (arg == "--out" && hasValue) {
      options->Out = argv[++i];
    } else {
      std::cerr << "usage: qzfuzz [--seed S] [--actions N] [--per-seed M] [--seconds T] [--out DIR] [--trace]\n";
      return false;
    }
  }
  if (options->PerSeed == 0) options->PerSeed = 1;
  return true;
}

void WriteReproducer(const Options& options, uint64_t seed, uint64_t actions, const std::string& message) {
  mkdir(options.Out.c_str(), 0755);
  const std::string path = options.Out + "/seed-" + std::to_string(seed) + ".sh";
  std::ofstream script(path);
  script << "#!/bin/sh\n# " << message.substr(0, message.find('\n')) << "\n"
         << "exec \"" << options.Self << "\" --seed " << seed << " --actions " << actions << " --per-seed " << actions
         << " --trace \"$@\"\n";
  script.close();
  chmod(path.c_str(), 0755);
  std::cerr << "reproducer: " << path << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, &options)) return 2;
  const auto start = std::chrono::steady_clock::now();
  const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  const std::string running = options.Out + "/running";
  uint64_t done = 0, seeds = 0, failures = 0;
  for (uint64_t seed = options.Seed; done < options.Actions; ++seed) {
    if (options.Seconds > 0.0 && elapsed() >= options.Seconds) break;
    const uint64_t count = std::min(options.PerSeed, options.Actions - done);
    mkdir(options.Out.c_str(), 0755);
    std::ofstream(running) << seed << " " << count << " " << done << "\n";
    qzh::fuzz::Outcome outcome = qzh::fuzz::RunSeed(seed, count, options.Trace ? &std::cout : nullptr);
    // Everything a seed made is gone at its end (the module unloaded too).
    if (!outcome.Failed && __lsan_do_recoverable_leak_check && __lsan_do_recoverable_leak_check()) {
      outcome.Failed = true;
      outcome.Action = outcome.Done ? outcome.Done - 1 : 0;
      outcome.Message = "memory leaked during the seed (see the leak report above)";
    }
    ++seeds;
    done += outcome.Done;
    if (outcome.Failed) {
      ++failures;
      std::cerr << "seed " << seed << " failed at action " << outcome.Action << ": " << outcome.Message << "\n";
      WriteReproducer(options, seed, outcome.Action + 1, outcome.Message);
      if (outcome.Done == 0) break;  // nothing can run
    }
  }
  std::remove(running.c_str());
  std::cout << done << " actions over " << seeds << " seeds in " << static_cast<long>(elapsed()) << " s, " << failures
            << " failed\n";
  return failures == 0 ? 0 : 1;
}
