// Writes the end-to-end test's data file: make_test_data <path> <problem count>.
#include <cstdlib>
#include <iostream>

#include "tests/app/app_test_data.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_test_data <path> <problem count>\n";
    return 2;
  }
  zendra::test::WriteTestDataFile(argv[1], std::atoi(argv[2]));
  return 0;
}
