// loglezer-stats: the viewer's figures as text, CSV or JSON.
#include "cli/run.h"

int main(int argc, char** argv) { return loglezer::cli::run_program(argc, argv); }
