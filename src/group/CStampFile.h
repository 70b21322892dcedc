#pragma once
// The stamp file (base path + "Update.bin") through which the users of a shared group notice
// each other's schedule changes: whoever changes today's schedule writes a new stamp, and every
// other open group compares the file with the last stamp it knew.
//
// Layout, 60 bytes, always rewritten whole from offset 0 (integers little-endian):
//
//   offset  size  content
//   0       4     int32 200
//   4       20    zero
//   24      36    local time of the last change, nine int32: seconds, minutes, hours, day of
//                 month, month (0-11), years since 1900, day of week (0 = Sunday), day of year
//                 (0-365), daylight-saving flag
//
// The file is opened for reading and writing and shared with everybody (no locks): a stamp is
// a hint to redraw, not data. File errors are never reported; without an open stamp file,
// markUpdate() and changedByOthers() do nothing.

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

namespace orv {

class CStampFile {
public:
    static constexpr std::size_t kSize = 60;
    static constexpr std::int32_t kMark = 200;
    static constexpr std::size_t kTimeOffset = 24;
    using Stamp = std::array<unsigned char, kSize>;

    CStampFile() = default;
    ~CStampFile();
    CStampFile(const CStampFile&) = delete;
    CStampFile& operator=(const CStampFile&) = delete;

    // Opens an existing stamp file and takes its contents as the last known stamp (bytes it
    // does not have, or cannot give, count as zero). False when it cannot be opened.
    bool open(const std::string& path);
    // Creates (or empties) the stamp file and keeps it open. The last known stamp is unchanged.
    bool create(const std::string& path);
    // What opening a group does: open, else create and write a first stamp.
    bool openOrCreate(const std::string& path);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    const std::string& path() const { return m_path; }

    // Puts the clock's current local time into the last known stamp and writes it to the file,
    // flushed to disk. Only while the file is open.
    void markUpdate();

    // Whether another user wrote a stamp since we last looked. Always false when network refresh
    // is off or the file is not open. With reopenFile the file is closed and opened again first
    // (for shares that cache an open file's contents). A stamp that differs from the last known
    // one becomes the last known one, so each change is reported once.
    bool changedByOthers(bool networkRefresh, bool reopenFile);

    const Stamp& lastKnownStamp() const { return m_lastKnown; }
    const Stamp& stampBuffer() const { return m_buffer; }

    // 200 followed by zeros: what a group knows before it has read a stamp.
    static Stamp initialStamp();
    // `base` with bytes 24-59 replaced by `localTime`.
    static Stamp withTime(const Stamp& base, const std::tm& localTime);

private:
    // Reads 60 bytes from offset 0; missing bytes and a failed read give zeros.
    Stamp readStamp() const;
    int openExisting(const std::string& path) const;

    int m_fd = -1;
    std::string m_path;
    Stamp m_lastKnown = initialStamp();
    Stamp m_buffer{};
};

} // namespace orv
