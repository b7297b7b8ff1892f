#include "app/program.h"

int main(int argc, char** argv) { return loglezer::run_program(argc, argv); }
