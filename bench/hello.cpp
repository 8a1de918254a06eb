// The yardstick of the start-up figures: a C++ program that prints one line.
#include <iostream>

int main() { std::cout << "hello\n"; }
