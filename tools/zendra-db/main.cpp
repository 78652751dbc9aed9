#include <signal.h>

#include <iostream>

#include "tools/zendra-db/help_text.h"
#include "tools/zendra-db/zendra_db.h"

int main(int argc, char** argv) {
  if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::cout << zendra::kZendraDbHelp;
    return 0;
  }
  // A file-size limit (ulimit -f) makes writes fail with an error instead of ending the program.
  signal(SIGXFSZ, SIG_IGN);
  zendra::db::Args args;
  std::string error;
  if (!zendra::db::ParseArgs(std::vector<std::string>(argv + 1, argv + argc), &args, &error)) {
    std::cerr << "zendra-db: " << error << "\n";
    return zendra::db::Usage();
  }
  return zendra::db::RunCommand(args);
}
