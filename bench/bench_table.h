// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmark programs share: running the registered benchmarks while
// keeping each one's median time, and printing the rows of the summary table
// that `make bench` gathers from every program's output (rows begin with "|").

#include <map>
#include <string>

namespace benchtable {

// Runs every registered benchmark (command-line options of Google Benchmark
// apply) and answers the median real time of one iteration of each, in
// nanoseconds, by the benchmark's name with its arguments ("BM_Paste/1048576").
std::map<std::string, double> runBenchmarks(int argc, char **argv);

// The median time of the benchmark by that name; aborts the program if it did
// not run, so that no row of the table is made up.
double medianNs(const std::map<std::string, double> &results, const std::string &name);

// One row: what was measured, its figure, what it is compared with, the
// ratio, the target and whether the target is met.
void printRow(const std::string &what, const std::string &figure, const std::string &against,
    const std::string &ratio, const std::string &target, bool met);

// A number with a fixed count of decimals and a unit: fixed(12.345, 1, " us").
std::string fixed(double value, int decimals, const std::string &unit = {});

} // namespace benchtable
