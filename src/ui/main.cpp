#include "ui/RunVesk.h"

int main(int argc, char** argv) {
    return RunVesk(argc, argv);
}
