// Writes the demo log: about four years of daily lines from the middle of
// 2022, with the first line of 2024 (1 January) missing.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "tools/loggen.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_demo_log OUTPUT.csv\n";
        return 2;
    }
    loglezer::tools::LogShape shape;
    shape.first = {2022, 6, 14};
    shape.days = 4 * 365 + 1;
    shape.seed = 20220614;
    std::ofstream out(argv[1], std::ios::binary);
    out << loglezer::tools::generate_log(shape);
    return out ? 0 : 1;
}
