// Another user who has a table open: opens the table named on the command line for shared
// use, says "ready", and keeps it open until its standard input ends.
#include "storage/Data4.h"

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    orv::Code4 code;
    orv::code4init(&code);
    code.silentErrors = 1;
    orv::Data4* data = orv::d4open(&code, argv[1]);
    if (!data) {
        std::printf("failed %d\n", code.errorCode);
        std::fflush(stdout);
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    char c;
    while (::read(0, &c, 1) > 0) {
    }
    orv::d4close(data);
    return 0;
}
