// Writes the demo log (see demo_shape).
#include <cstdio>
#include <fstream>
#include <iostream>

#include "tools/loggen.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_demo_log OUTPUT.csv\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << loglezer::tools::generate_log(loglezer::tools::demo_shape());
    return out ? 0 : 1;
}
