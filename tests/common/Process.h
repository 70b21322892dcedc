#pragma once
// A real second process for tests: started from a helper program, its standard output read line
// by line, waited for or killed.

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace orv::test {

class Process {
public:
    Process(const std::string& program, const std::vector<std::string>& args) {
        int fds[2];
        if (pipe(fds) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(program.c_str()));
            for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(fds[1]);
        m_out = fdopen(fds[0], "r");
    }
    ~Process() {
        if (m_pid > 0 && !m_waited) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out) fclose(m_out);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // The next line of output without its line break; false at the end.
    bool readLine(std::string& line) {
        line.clear();
        if (!m_out) return false;
        int c;
        while ((c = fgetc(m_out)) != EOF) {
            if (c == '\n') return true;
            line += static_cast<char>(c);
        }
        return !line.empty();
    }
    // Exit status, or -signal when killed by a signal.
    int wait() {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_waited = true;
        if (WIFEXITED(status)) return WEXITSTATUS(status);
        return WIFSIGNALED(status) ? -WTERMSIG(status) : -1;
    }
    // Whether the process has ended, without waiting for it.
    bool finished() {
        if (m_waited) return true;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) != m_pid) return false;
        m_waited = true;
        return true;
    }
    void killHard() {
        kill(m_pid, SIGKILL);
        wait();
    }
    pid_t pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    FILE* m_out = nullptr;
    bool m_waited = false;
};

inline std::string helperPath(const std::string& name) { return std::string(ORV_HELPER_DIR) + "/" + name; }

} // namespace orv::test
