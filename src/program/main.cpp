// The program's entry point: the command line's session, and its exit
// status.
#include "program/entry_point.hpp"

int main(int argc, char** argv) { return tg::RunFromCommandLine(argc, argv); }
