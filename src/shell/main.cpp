#include "shell/shell.h"

// The game takes no arguments, environment or settings: everything is relative to the working
// directory, which holds Data/ and Data.dat.
int main() {
    return runGame();
}
