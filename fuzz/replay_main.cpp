// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target over every file of the corpus directories given on the
// command line, in name order, without libFuzzer: the seed corpus becomes a
// regression test that any compiler can build. A directory without a single
// file is an error, so that a mistyped path cannot pass as a clean replay.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s corpus-directory...\n", argv[0]);
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (const auto &entry : std::filesystem::directory_iterator(argv[i], error)) {
            if (entry.is_regular_file())
                files.push_back(entry.path());
        }
        if (error) {
            std::fprintf(stderr, "%s: %s\n", argv[i], error.message().c_str());
            return 1;
        }
        if (files.empty()) {
            std::fprintf(stderr, "%s: no input file\n", argv[i]);
            return 1;
        }
        std::sort(files.begin(), files.end());
        for (const auto &file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<char> bytes { std::istreambuf_iterator<char>(in),
                std::istreambuf_iterator<char>() };
            if (!in.good() && !in.eof()) {
                std::fprintf(stderr, "%s: cannot be read\n", file.c_str());
                return 1;
            }
            // A copy of exactly the input's size, so that a read past its end
            // is a read past an allocation, as under libFuzzer.
            const std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
            // Named first: an input that breaks an invariant aborts.
            std::fprintf(stderr, "%s\n", file.c_str());
            LLVMFuzzerTestOneInput(input.data(), input.size());
        }
        std::printf("%s: %zu inputs replayed\n", argv[i], files.size());
    }
    return 0;
}
