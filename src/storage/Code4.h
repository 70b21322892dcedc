#pragma once
// The engine context: its settings, the pending error and the tables opened through it.
// One group document owns one Code4 for its whole life.

#include "File4System.h"
#include "Result4.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct Data4;
class File4Recorder;

struct Code4 {
    // Settings; code4init sets each to its default.
    std::uint8_t openShareMode = 0; // 0 shared, 1 exclusive, 2 others may only read
    int readOnly = 0;
    int autoOpen = 1;
    std::uint8_t refuseOverwrite = 1;
    int reportOpenErrors = 1;
    int goMissingIsError = 1;
    std::uint8_t readWithLock = 0;
    int writeRequiresLock = 0;
    int lockRetries = -1;
    int lockRetryDelay = 100; // hundredths of a second
    int silentErrors = 0;
    std::int16_t fileFormatLevel = 25;
    int writeThrough = 0;
    int errorCode = 0;
    // Unique handling a unique tag gets when its table is opened (the program sets its own right
    // after every open): a duplicate key is left out of the tag and the write goes on.
    int defaultUnique = res4uniqueContinue;

    // State.
    bool initialized = false;
    long errorLocation = 0;
    int lastOpenError = 0; // cause of the last failed open, also when it was not reported
    // Records written, appended or deleted through the context: tells a caller its own changes
    // from other users' when a table's file changed.
    unsigned long writes = 0;
    // While above 0, d4flush writes what it holds but leaves the flush to disk to
    // code4syncRelease (or the table's close): a series of appends then reaches the disk once.
    int syncHeld = 0;
    File4System* fs = nullptr; // the recorder below, in front of the given file layer
    // errno of the last failing file-layer call a user could act on; the next error raised for
    // a file operation takes it as its cause.
    int systemError = 0;
    int errorCause = 0; // errno behind the pending error; 0 when none
    std::unique_ptr<File4Recorder> recorder;
    std::vector<std::unique_ptr<Data4>> tables;
    // Source of "now" for header dates; empty: the system clock.
    std::function<std::time_t()> clock;
    // Told of every record a table of this context has just written: its record number and the
    // record's bytes (deletion flag first) before and after. `before` is empty for an append.
    // Set while a change is being recorded; it must not move the table.
    std::function<void(const Data4& table, long record, std::string_view before,
                       std::string_view after)>
        recordWritten;

    Code4();
    ~Code4();
    Code4(const Code4&) = delete;
    Code4& operator=(const Code4&) = delete;
};

// Sets every setting to its default, clears errorCode and uses the POSIX file layer unless a
// file system is given (tests pass a fault-injecting one; not owned).
void code4init(Code4* code, File4System* fs = nullptr);
// Closes every table still open through the context. Returns the first close failure or 0.
int code4initUndo(Code4* code);
std::time_t code4now(const Code4* code);
// Holds the flushes to disk of the context's tables until the matching release, which flushes
// every table that was written meanwhile. The release returns the first flush failure (the
// error is raised as d4flush raises it) or 0. Holds nest.
void code4syncHold(Code4* code);
int code4syncRelease(Code4* code);

// Raising an error: sets errorCode, writes the report unless silentErrors is set, ends the
// process for the fatal codes, and returns the code. extra texts may be null.
int error4(Code4* code, int errorCode, long location, const char* operation,
           const char* extra1 = nullptr, const char* extra2 = nullptr,
           const char* extra3 = nullptr);
// Takes a pending error off the context, so that its next operation runs again, and says what
// failed: `result` when it is an error code, else the error that was pending, else 0. The one way
// to clear a pending error: a caller that gets a failure back acts on it.
int error4take(Code4* code, int result = 0);
// The operating system's reason, in its own words ("No space left on device"), behind the last
// error that error4take took; empty when that error had none. Reading it forgets it, so that it
// is told once, with the failure it belongs to.
std::string error4reason();
// Forgets a reason nobody read (a failure that was not told, or one the engine got over), and
// what the context's file layer noted, before new work begins.
void error4forgetReason(Code4* code = nullptr);
// The message text of an error code ("Invalid or Unknown Error Code" when unknown).
const char* error4text(int errorCode);
// The desktop program never waits for a key press after a report.
void error4setNeverWait(bool neverWait);
// Where reports go (standard error unless a test redirects it); null restores standard error.
void error4setStream(std::FILE* stream);

} // namespace orv
