// The program's entry.
#include "app/Startup.h"

int main(int argc, char** argv) { return iFunWinMain(argc, argv); }
