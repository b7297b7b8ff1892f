// Writes the benchmarks' log: 1,000,000 lines, or as many as given.
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "tools/loggen.h"

int main(int argc, char** argv) {
    const int days = argc == 3 ? std::atoi(argv[2]) : 1000000;
    if (argc < 2 || argc > 3 || days <= 0) {
        std::cerr << "usage: make_bench_log OUTPUT.csv [LINES]\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << loglezer::tools::generate_log(loglezer::tools::bench_shape(days));
    return out ? 0 : 1;
}
