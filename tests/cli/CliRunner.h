#pragma once
// Runs the built orvsched-cli as its own process and keeps its exit code and both output streams.

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace orv::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The lines as a program prints them: each ended by a line feed.
inline std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l + "\n";
    return text;
}

inline std::string slurpFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// `scratch` is a folder for the captured streams; `input` becomes standard input; `inChild` runs
// in the new process just before the program starts (to set a limit of its own, for example).
inline CliResult runCli(const std::vector<std::string>& args, const std::string& scratch,
                        const std::string& input = "", const std::function<void()>& inChild = {}) {
    const std::string program = std::string(ORV_BINARY_DIR) + "/src/cli/orvsched-cli";
    const std::string outPath = scratch + "/cli-stdout.txt";
    const std::string errPath = scratch + "/cli-stderr.txt";
    const std::string inPath = scratch + "/cli-stdin.txt";
    {
        std::ofstream in(inPath, std::ios::binary | std::ios::trunc);
        in << input;
    }
    CliResult result;
    pid_t child = ::fork();
    if (child < 0) return result;
    if (child == 0) {
        int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int in = ::open(inPath.c_str(), O_RDONLY);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (inChild) inChild();
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = slurpFile(outPath);
    result.err = slurpFile(errPath);
    return result;
}

} // namespace orv::test
