#include "app/application.h"

int main(int argc, char** argv) { return zendra::RunZendra(argc, argv); }
