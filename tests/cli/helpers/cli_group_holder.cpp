// Another copy of the program with a group open: opens the group named on the command line as
// the desktop program does, says "ready", and keeps it open until its standard input ends.
#include "common/ScriptedPrompt.h"
#include "group/CMemorySettings.h"
#include "group/CORVSchedDoc.h"

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    orv::test::ScriptedPrompt prompt;
    orv::CMemorySettings settings;
    orv::CORVSchedDoc doc(prompt, settings);
    doc.code().silentErrors = 1;
    if (!doc.openGroup(argv[1])) return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    char c;
    while (::read(0, &c, 1) > 0) {
    }
    return 0;
}
