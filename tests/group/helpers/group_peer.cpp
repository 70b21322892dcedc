// Another user of a shared group, for the item tests.
//
//   group_peer lockpeople GROUPFILE MS MARKER   takes the people table's whole-table lock (the
//                                               group-wide lock), says "locked", holds it MS,
//                                               writes MARKER, lets go
//   group_peer deleteitem GROUPFILE NAME        removes the item from the group file as another
//                                               copy of the program would, under the same lock
#include "group/CGroupFile.h"
#include "group/CGroupNames.h"
#include "tables/CPeople.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

using namespace orv;

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    const std::string mode = argv[1];
    const std::string group = argv[2];
    Code4 code;
    code4init(&code);
    code.silentErrors = 1;
    CPeople people(code);
    if (people.open(group, false) != 0) return 3;
    if (people.lockAll() != 0) return 4;
    if (mode == "lockpeople" && argc == 5) {
        std::printf("locked\n");
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(argv[3])));
        int fd = ::open(argv[4], O_CREAT | O_WRONLY, 0644);
        if (fd >= 0) ::close(fd);
        people.unlock();
        return 0;
    }
    if (mode == "deleteitem") {
        CGroupFileData data;
        std::string why;
        if (!CGroupFile::read(group, data, why)) return 5;
        for (auto it = data.items.begin(); it != data.items.end(); ++it)
            if (it->name() == argv[3]) {
                data.items.erase(it);
                break;
            }
        if (!CGroupFile::write(group, data, why)) return 5;
        people.unlock();
        return 0;
    }
    return 2;
}
