// Saves the two animals of two_animals.h in turn into the model file named by its one argument,
// again and again, until it is killed. A save that fails ends it with the save's error.

#include "exchange/ModelFile.h"
#include "two_animals.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const TVeskDairy animals[] = {FirstAnimal(), SecondAnimal()};
    for (int turn = 0;; turn ^= 1)
        SaveModel(argv[1], animals[turn], '.');
}
