// orvsched-cli: the command-line front end on the same core as the desktop program.
#include "cli/CliCommand.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <utility>

namespace orv::cli {

namespace {
std::map<std::string, CliCommand>& registry() {
    static std::map<std::string, CliCommand> r;
    return r;
}
std::string& reasonText() {
    static std::string reason;
    return reason;
}
} // namespace

const std::string& CliArgs::reason() { return reasonText(); }

void registerCommand(const CliCommand& command) { registry()[command.name] = command; }

const std::map<std::string, CliCommand>& commands() { return registry(); }

int fail(const std::string& command, const std::string& message) {
    std::cerr << "orvsched-cli " << command << ": " << message << "\n";
    return kExitFailure;
}

int partStatus(std::size_t done, std::size_t wanted) {
    if (done == wanted) return kExitOk;
    return done == 0 ? kExitFailure : kExitPartial;
}

int usage(const std::string& command, const std::string& message) {
    std::cerr << "orvsched-cli " << command << ": " << message << "\n"
              << "Try 'orvsched-cli " << command << " --help'.\n";
    return kExitUsage;
}

bool CliArgs::parse(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
                    const std::vector<std::string>& flags) {
    auto contains = [](const std::vector<std::string>& v, const std::string& s) {
        for (const auto& x : v)
            if (x == s) return true;
        return false;
    };
    bool onlyPositional = false;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (!onlyPositional && a == "--") {
            onlyPositional = true;
        } else if (!onlyPositional && a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::string name = a.substr(2);
            std::optional<std::string> inlineValue;
            if (auto eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
            if (name == CliArgs::kReasonOption && !contains(flags, name)) {
                if (!inlineValue && i + 1 >= argv.size()) {
                    m_error = "option --reason needs a value";
                    return false;
                }
                reasonText() = inlineValue ? *inlineValue : argv[++i];
            } else if (contains(valued, name)) {
                if (inlineValue) {
                    m_options.emplace(name, *inlineValue);
                } else if (i + 1 < argv.size()) {
                    m_options.emplace(name, argv[++i]);
                } else {
                    m_error = "option --" + name + " needs a value";
                    return false;
                }
            } else if (contains(flags, name) && !inlineValue) {
                m_options.emplace(name, "");
            } else {
                m_error = "unknown option --" + name;
                return false;
            }
        } else {
            m_positional.push_back(a);
        }
    }
    return true;
}

std::optional<std::string> CliArgs::value(const std::string& option) const {
    auto it = m_options.find(option);
    if (it == m_options.end()) return std::nullopt;
    return it->second;
}

std::vector<std::string> CliArgs::values(const std::string& option) const {
    std::vector<std::string> out;
    auto range = m_options.equal_range(option);
    for (auto it = range.first; it != range.second; ++it) out.push_back(it->second);
    return out;
}

} // namespace orv::cli

namespace {

// The statuses every command ends with, for --help and the manual page.
constexpr std::pair<int, const char*> kExitStatuses[] = {
    {orv::cli::kExitOk, "done"},
    {orv::cli::kExitFailure, "refused or failed, nothing changed (the reason on standard error)"},
    {orv::cli::kExitUsage, "bad usage"},
    {orv::cli::kExitPartial, "done in part or with warnings (the messages say what was not done)"},
};

// The manual page: each command's own help text, so that it never says less than --help.
void printManualPage() {
    auto troff = [](const char* text) {
        std::string out;
        bool lineStart = true;
        for (const char* c = text; *c; ++c) {
            if (lineStart && (*c == '.' || *c == '\'')) out += "\\&";
            if (*c == '\\')
                out += "\\e";
            else if (*c == '-')
                out += "\\-";
            else
                out += *c;
            lineStart = *c == '\n';
        }
        return out;
    };
    std::printf(".TH ORVSCHED\\-CLI 1 \"December 2026\" \"ORV Scheduler %d.%02d\" \"User Commands\"\n"
                ".SH NAME\n"
                "orvsched\\-cli \\- work with ORV Scheduler groups from the command line\n"
                ".SH SYNOPSIS\n"
                ".B orvsched\\-cli\n"
                ".I COMMAND\n"
                ".RI [ ARGS ...]\n"
                ".br\n"
                ".B orvsched\\-cli\n"
                ".I COMMAND\n"
                ".B \\-\\-help\n"
                ".SH DESCRIPTION\n"
                "The command-line front end of ORV Scheduler, on the same logic as the desktop\n"
                "program\n"
                ".BR orvsched (1):\n"
                "every list the program shows, printed as it shows it, and the work of its dialogs,\n"
                "with their messages on standard error. Dates are YYYYMMDD or YYYY\\-MM\\-DD, times\n"
                "HH:MM on the 24\\-hour clock, and a person LAST|FIRST|MI|DEPT.\n"
                ".SH COMMANDS\n",
                ORV_VERSION_MAJOR, ORV_VERSION_MINOR);
    for (const auto& [name, c] : orv::cli::commands()) {
        std::printf(".SS %s\n%s\n.PP\n.nf\n%s.fi\n", troff(name.c_str()).c_str(), troff(c.summary).c_str(),
                    troff(c.help).c_str());
    }
    std::printf(
        ".SH EXIT STATUS\nEvery command ends with one of these, so that a script can tell whether\n"
        "anything changed:\n");
    for (const auto& [status, meaning] : kExitStatuses)
        std::printf(".TP\n.B %d\n%s\n", status, troff(meaning).c_str());
    std::printf(".SH SEE ALSO\n.BR orvsched (1)\n");
}

void printCommandList(std::FILE* out) {
    std::fprintf(out, "usage: orvsched-cli COMMAND [ARGS...]\n"
                      "       orvsched-cli COMMAND --help\n\ncommands:\n");
    for (const auto& [name, c] : orv::cli::commands())
        std::fprintf(out, "  %-14s %s\n", name.c_str(), c.summary);
    std::fprintf(out, "\nevery command that changes the group takes --reason TEXT, which its\n"
                      "entries in the group's history keep (see 'history').\n");
    std::fprintf(out, "\nexit status of every command:\n");
    for (const auto& [status, meaning] : kExitStatuses)
        std::fprintf(out, "  %d  %s\n", status, meaning);
}

} // namespace

int main(int argc, char** argv) {
    using namespace orv::cli;
    if (argc < 2) {
        printCommandList(stderr);
        return kExitUsage;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printCommandList(stdout);
        return kExitOk;
    }
    if (name == "--version") {
        std::printf("orvsched-cli (ORV Scheduler) Version %d.%02d\n", ORV_VERSION_MAJOR, ORV_VERSION_MINOR);
        return kExitOk;
    }
    if (name == "--man") {
        printManualPage();
        return kExitOk;
    }
    auto it = commands().find(name);
    if (it == commands().end()) {
        std::fprintf(stderr, "orvsched-cli: unknown command '%s'\n", name.c_str());
        printCommandList(stderr);
        return kExitUsage;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& a : args) {
        if (a == "--help" || a == "-h") {
            std::fputs(it->second.help, stdout);
            return kExitOk;
        }
        if (a == "--") break;
    }
    return it->second.run(args);
}
