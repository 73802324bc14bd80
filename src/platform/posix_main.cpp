#include "platform/program_entry.h"

// Arguments arrive as the bytes they were given, UTF-8 on every desktop the game runs on.
int main(int argc, char** argv) {
    return runTolvar(argc, argv);
}
