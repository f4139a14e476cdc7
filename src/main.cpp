#include "shell/entry_point.hpp"

int main(int argc, char** argv) { return tg::RunFromCommandLine(argc, argv); }
