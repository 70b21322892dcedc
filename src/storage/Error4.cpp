// Error reports of the engine: the texts, the report written to standard error, and the codes
// that end the process.
#include "Code4.h"
#include "Data4.h"

#include <cstdlib>
#include <cstring>
#include <termios.h>
#include <unistd.h>

namespace orv {
namespace {

struct ErrorText {
    int code;
    const char* text;
};

// Searched from the top; the first row with the code wins.
constexpr ErrorText kErrorTexts[] = {
    {-10, "Closing File"},
    {-20, "Creating File"},
    {-30, "Determining File Length"},
    {-40, "Setting File Length"},
    {-50, "Locking File"},
    {-60, "Opening File"},
    {-61, "Permission Error Opening File"},
    {-62, "Access Error Opening File"},
    {-63, "File Handle Count Overflow Error Opening File"},
    {-64, "File Find Error Opening File"},
    {-69, "Duplicate Instance Found Error Opening File"},
    {-70, "Reading File"},
    {-80, "Removing File"},
    {-90, "Renaming File"},
    {-250, "Seeking to File Position"},
    {-110, "Unlocking File"},
    {-120, "Writing to File"},
    {-200, "File is not a Data File"},
    {-210, "Unrecognized Field Name"},
    {-220, "Unrecognized Field Type"},
    {-230, "Record Length is too Large"},
    {-240, "Record Append Attempt Past End of File"},
    {-300, "Tag Entry Missing"},
    {-310, "Not a Correct Index File"},
    {-330, "Tag Name not Found"},
    {-340, "Unique Key Error"},
    {-350, "Tag Information Invalid"},
    {-360, "Candidate Key Error"},
    {-400, "Comma or Bracket Expected"},
    {-410, "Expression not Complete"},
    {-420, "Data File Name not Located"},
    {-422, "IIF() Needs Parameters of Same Length"},
    {-425, "SUBSTR() and STR() need Constant Parameters"},
    {-430, "Number of Parameters is Wrong"},
    {-440, "Overflow while Evaluating Expression"},
    {-450, "Right Bracket Missing"},
    {-460, "Sub-expression Type is Wrong"},
    {-470, "Unrecognized Function"},
    {-480, "Unrecognized Operator"},
    {-490, "Unrecognized Value"},
    {-500, "Unterminated String"},
    {-510, "Expression Invalid for Tag"},
    {-630, "Optimization File Flushing Failure"},
    {-910, "Unexpected Information"},
    {-920, "Out of Memory"},
    {-930, "Unexpected Parameter"},
    {-935, "Null Input Parameter unexpected"},
    {-950, "Unexpected Result"},
    {-960, "Structure Verification Failure"},
    {-970, "Data Structure Corrupt or not Initialized"},
};

bool gNeverWait = false;
// errno behind the error error4take took last.
thread_local int tTakenCause = 0;
std::FILE* gStream = nullptr;

// One key press on the console, without waiting for Enter. Only when a person can answer.
void waitForKey() {
    if (gNeverWait || !isatty(STDIN_FILENO)) return;
    termios saved{};
    if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
    termios raw = saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    char c;
    [[maybe_unused]] ssize_t n = read(STDIN_FILENO, &c, 1);
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

bool isFatal(int code) { return code == e4info || code == e4memory || code == e4result || code == e4struct; }

} // namespace

const char* error4text(int errorCode) {
    for (const auto& e : kErrorTexts)
        if (e.code == errorCode) return e.text;
    return "Invalid or Unknown Error Code";
}

int error4take(Code4* code, int result) {
    const int pending = code ? code->errorCode : 0;
    // A failure the engine returned without raising it still has the file layer's reason.
    const int cause = code ? (pending < 0 ? code->errorCause : code->systemError) : 0;
    if (code && (pending < 0 || result < 0 || cause != 0)) {
        tTakenCause = cause;
        code->errorCause = 0;
        code->systemError = 0;
    }
    if (code && pending < 0) code->errorCode = 0;
    if (result < 0) return result;
    return pending < 0 ? pending : 0;
}

std::string error4reason() {
    const int cause = tTakenCause;
    tTakenCause = 0;
    return cause == 0 ? std::string() : std::string(std::strerror(cause));
}

void error4forgetReason(Code4* code) {
    tTakenCause = 0;
    if (code) code->systemError = 0;
}

void error4setNeverWait(bool neverWait) { gNeverWait = neverWait; }

void error4setStream(std::FILE* stream) { gStream = stream; }

int error4(Code4* code, int errorCode, long location, const char* operation, const char* extra1,
           const char* extra2, const char* extra3) {
    if (code) {
        code->errorCode = errorCode;
        code->errorLocation = location;
        // The file layer's failure since the last error is this error's cause.
        code->errorCause = code->systemError;
        code->systemError = 0;
    }
    if (!code || !code->silentErrors) {
        std::FILE* out = gStream ? gStream : stderr;
        std::fprintf(out, "\n\nError Number");
        std::fprintf(out, "  %d, %ld\n", errorCode, location);
        std::fprintf(out, "%s\n", error4text(errorCode));
        std::fprintf(out, "%s\n", operation ? operation : "");
        for (const char* extra : {extra1, extra2, extra3})
            if (extra) std::fprintf(out, "\n%s", extra);
        std::fprintf(out, "\n");
        std::fflush(out);
        waitForKey();
    }
    if (isFatal(errorCode)) {
        if (code) {
            code->errorCode = 0;
            code4initUndo(code);
        }
        std::exit(errorCode);
    }
    return errorCode;
}

} // namespace orv
