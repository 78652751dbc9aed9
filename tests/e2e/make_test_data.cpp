// Writes the end-to-end test's data file: make_test_data <path> <problem count> [two-replies].
// With "two-replies" the computer has two answers to the solving move (app_test_data.h).
#include <cstdlib>
#include <iostream>
#include <string>

#include "tests/app/app_test_data.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: make_test_data <path> <problem count> [two-replies]\n";
    return 2;
  }
  if (argc == 4 && std::string(argv[3]) == "two-replies")
    zendra::test::WriteTwoRepliesFile(argv[1], std::atoi(argv[2]));
  else
    zendra::test::WriteTestDataFile(argv[1], std::atoi(argv[2]));
  return 0;
}
