// Another user of a shared group, for the stamp file tests: writes a stamp as of a given moment.
//
//   group_stamp_writer STAMPFILE EPOCHSECONDS            mark an update in place
//   group_stamp_writer STAMPFILE EPOCHSECONDS --replace  write a new file and rename it over
//
// Exit status 0 when the stamp was written.
#include "group/CStampFile.h"
#include "tables/CFixedClock.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: group_stamp_writer STAMPFILE EPOCHSECONDS [--replace]\n");
        return 2;
    }
    const std::string path = argv[1];
    orv::CFixedClock clock(static_cast<std::time_t>(std::strtoll(argv[2], nullptr, 10)));
    orv::CClock::setCurrent(&clock);
    const bool replace = argc > 3 && std::strcmp(argv[3], "--replace") == 0;

    orv::CStampFile stamp;
    const std::string target = replace ? path + ".new" : path;
    if (!(replace ? stamp.create(target) : stamp.open(target))) return 1;
    stamp.markUpdate();
    stamp.close();
    if (replace && std::rename(target.c_str(), path.c_str()) != 0) return 1;
    return 0;
}
