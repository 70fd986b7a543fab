#pragma once
// A work of the program timed beside its floor, the least work of raw
// SQLite and bare Qt that gives the same result, in the same iteration, so
// both see the same machine and the same caches. The benchmark's own time
// is the program's; the medians of both and their ratio are its counters.
// A floor that is not faster than the work it bounds bounds nothing: that
// is told on stderr as "FLOOR NOT FASTER: <name> ...".
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct TSamples {
  std::vector<double> program, floor;

  // Times the program's work (the iteration's time) and then the floor's.
  template <class Program, class Floor>
  void time(benchmark::State& state, Program&& programWork, Floor&& floorWork) {
    auto start = Clock::now();
    programWork();
    const double p = msSince(start);
    program.push_back(p);
    state.SetIterationTime(p / 1000);
    start = Clock::now();
    floorWork();
    floor.push_back(msSince(start));
  }

  // The counters and one line on stdout; the line on stderr when the floor
  // is not faster. name says the work (and its size, where it has one);
  // prefix, the counters of a work's second floor (or second measure); unit,
  // what the samples measure (milliseconds, or MB of memory).
  void report(benchmark::State& state, const std::string& name, const std::string& prefix = "",
              const std::string& unit = "ms") const {
    const double p = median(program), f = median(floor);
    const double ratio = f > 0 ? p / f : 0;
    state.counters[prefix + "program_" + unit] = p;
    state.counters[prefix + "floor_" + unit] = f;
    state.counters[prefix + "ratio"] = ratio;
    std::printf("%-28s program %9.3f %s  floor %9.3f %s  ratio %5.2f\n", name.c_str(), p, unit.c_str(), f,
                unit.c_str(), ratio);
    std::fflush(stdout);
    if (!(f < p))
      std::fprintf(stderr, "FLOOR NOT FASTER: %s program %.3f %s floor %.3f %s\n", name.c_str(), p, unit.c_str(), f,
                   unit.c_str());
  }
};

// Runs the pair for every iteration and reports it.
template <class Program, class Floor>
void timePair(benchmark::State& state, const std::string& name, Program&& programWork, Floor&& floorWork) {
  TSamples samples;
  for (auto _ : state) samples.time(state, programWork, floorWork);
  samples.report(state, name);
}

}  // namespace bench
