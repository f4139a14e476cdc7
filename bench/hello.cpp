// The start-up and memory baseline: the smallest C++ program that writes a
// line through iostream, built with the game's flags.
#include <iostream>

int main() { std::cout << "Hello, world!\n"; }
