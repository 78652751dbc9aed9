#include <iostream>

#include "tools/zendra-board/board_tool.h"

int main(int argc, char** argv) {
  return zendra::board_tool::RunZendraBoard(std::vector<std::string>(argv + 1, argv + argc),
                                            std::cout, std::cerr);
}
