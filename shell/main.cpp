// The program entry of Quendal.

#include "shell/startup.h"

int main(int argc, char* argv[]) {
    return quendal::runQuendal(argc, argv);
}
