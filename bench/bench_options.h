// The benchmarks' command lines: "--key value" pairs from argv[first] on.
// --help (or -h) prints the usage and exits 0 before any run starts; a key
// without a value, or one the benchmark does not take, prints the usage on
// stderr and exits 2.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// take(key, value) answers whether the benchmark takes the key.
template <typename Take>
void ReadBenchOptions(int argc, char** argv, int first, const char* usage, Take take) {
  for (int i = first; i < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--help" || key == "-h") {
      std::fputs(usage, stdout);
      std::exit(0);
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "%s needs a value\n%s", key.c_str(), usage);
      std::exit(2);
    }
    if (!take(key, std::string(argv[i + 1]))) {
      std::fprintf(stderr, "unknown option %s\n%s", key.c_str(), usage);
      std::exit(2);
    }
  }
}
