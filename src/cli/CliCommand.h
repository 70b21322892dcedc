#pragma once
// Subcommands of orvsched-cli. Each lives in its own file and registers itself with
// ORV_CLI_COMMAND; main() finds it by name and answers --help from its help text.
//
// Every command ends with one of four statuses, so that a script can tell whether anything
// changed: 0 done; 1 refused or failed with nothing changed (one clear line on standard error);
// 2 bad usage, nothing looked at; 3 done in part or with warnings: something changed, and the
// messages say what was not done. A command that cannot tell whether its failure left something
// changed says 3.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orv::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitPartial = 3;

// The status of work on `wanted` things of which `done` were done: all kExitOk, none
// kExitFailure, some kExitPartial.
int partStatus(std::size_t done, std::size_t wanted);

// Parsed arguments: positionals in order, options as --name or --name VALUE. Every command
// takes --reason TEXT as well: the reason its changes carry in the group's history.
class CliArgs {
public:
    static constexpr const char* kReasonOption = "reason";
    // `valued` lists the options that take a value; `flags` those that do not. Returns false and
    // sets error() on an unknown option or a missing value.
    bool parse(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags);
    const std::vector<std::string>& positional() const { return m_positional; }
    bool has(const std::string& option) const { return m_options.count(option) != 0; }
    std::optional<std::string> value(const std::string& option) const;
    // Every value of an option given several times, in order.
    std::vector<std::string> values(const std::string& option) const;
    const std::string& error() const { return m_error; }
    // The last --reason any parse of this run was given, or empty.
    static const std::string& reason();

private:
    std::vector<std::string> m_positional;
    std::multimap<std::string, std::string> m_options;
    std::string m_error;
};

struct CliCommand {
    const char* name;
    const char* summary; // one line for the command list
    const char* help;    // full usage text for --help
    int (*run)(const std::vector<std::string>& args);
};

void registerCommand(const CliCommand& command);
const std::map<std::string, CliCommand>& commands();

// Writes "orvsched-cli NAME: message" to standard error and returns kExitFailure.
int fail(const std::string& command, const std::string& message);
// Writes the usage problem and returns kExitUsage.
int usage(const std::string& command, const std::string& message);

struct CommandRegistrar {
    explicit CommandRegistrar(const CliCommand& c) { registerCommand(c); }
};

} // namespace orv::cli

#define ORV_CLI_CAT2(a, b) a##b
#define ORV_CLI_CAT(a, b) ORV_CLI_CAT2(a, b)
// Each file keeps its own names (kName, kHelp, run(), ...) in namespace ORV_UNITY_ID, which the
// build makes unique per file: a unity build compiles several command files at once.
#define ORV_CLI_COMMAND(...)                                                                       \
    namespace ORV_UNITY_ID {                                                                       \
    static const ::orv::cli::CommandRegistrar ORV_CLI_CAT(orvCliRegistrar_,                       \
                                                          __LINE__)({__VA_ARGS__});                \
    }                                                                                              \
    static_assert(true)
