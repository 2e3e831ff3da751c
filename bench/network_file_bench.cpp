// CPU time of the network adjustment of one network file (for instance the
// junction lattice of make_network.py), read once and adjusted three times:
// without precision figures, plain (coordinates, σ0, absolute ellipses,
// redundancies and standardised residuals), and with the relative accuracy
// and the reliability figures as well, as korvane-cli network prints them.
//
// usage: network_file_bench FILE.net [none|plain|full]
// (one of the three alone, so that the peak memory is that run's own)
#include <sys/resource.h>

#include <cstdio>
#include <string>

#include "formats/network_file.h"
#include "network/network_adjustment.h"

namespace {

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(u.ru_utime) + seconds(u.ru_stime);
}

double PeakMegabytes() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024;
}

bool Run(const char* label, const korvane::formats::NetworkInput& input, korvane::network::NetworkOptions options) {
  const double start = CpuSeconds();
  const korvane::network::NetworkOutcome out = korvane::network::AdjustNetwork(input, options);
  const double cpu = CpuSeconds() - start;
  if (!out.ok()) {
    std::fprintf(stderr, "%s: %s\n", label, out.refusal->text.c_str());
    return false;
  }
  std::printf("%-28s %8.2f s CPU  %6zu relative  peak %7.0f MB  iterations %d\n", label, cpu, out.result.relative.size(),
              PeakMegabytes(), out.result.iterations);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string only = argc == 3 ? argv[2] : "";
  if (argc < 2 || argc > 3 || (argc == 3 && only != "none" && only != "plain" && only != "full")) {
    std::fprintf(stderr, "usage: network_file_bench FILE.net [none|plain|full]\n");
    return 1;
  }
  std::string error;
  const double start = CpuSeconds();
  const korvane::formats::NetworkFileLoad load = korvane::formats::LoadNetworkFile(argv[1], error);
  if (!error.empty() || !load.ok()) {
    std::fprintf(stderr, "%s\n", error.empty() ? load.refusal->text.c_str() : error.c_str());
    return 1;
  }
  std::printf("%-28s %8.2f s CPU\n", "read", CpuSeconds() - start);
  korvane::network::NetworkOptions options;
  bool ok = true;
  options.precision = false;
  if (only.empty() || only == "none") ok = Run("coordinates and σ0", load.input, options) && ok;
  options.precision = true;
  options.quality = false;
  if (only.empty() || only == "plain") ok = Run("plain, absolute ellipses", load.input, options) && ok;
  options.quality = true;
  if (only.empty() || only == "full") ok = Run("with relative, reliability", load.input, options) && ok;
  return ok ? 0 : 2;
}
