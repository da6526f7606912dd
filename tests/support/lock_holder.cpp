// Takes the single-instance lock on the given file, says so, and waits to be killed.
#include "app/SingleInstance.h"

#include <QString>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    SingleInstance lock;
    if (!lock.Acquire(QString::fromLocal8Bit(argv[1]))) {
        std::puts("busy");
        return 1;
    }
    std::puts("locked");
    std::fflush(stdout);
    for (;;)
        ::pause();
}
