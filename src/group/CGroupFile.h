#pragma once
// The group file (".sch"): the group's description, its items, its kind word, two reserved
// integers, the saved window rectangle and the name of a borrowed people file.
//
// Layout (integers little-endian; strings as in CByteReader/CByteWriter):
//
//   #  content                                               type
//   1  header: item count | 0x01000000 (new-format mark)     uint32
//   2  description                                           string
//   3  items, count times: name, long description           string, string
//      occupancy, default length (default length only       int32, int32
//      when the header has the new-format mark)
//   4  kind word                                             string
//   5  reserved, carried unchanged                           2 x int32
//   6  window rectangle: left, top, right, bottom            4 x int32
//   7  people file name (may be missing: then empty)         string
//
// Files that end before 5 or 6 is complete are refused; a missing or cut-off 7 is accepted, so
// that files written before it existed still open. Bytes after 7 are ignored.
//
// Nothing here throws; every failure comes back as false with a one-line reason.

#include "group/CGroupFileData.h"
#include "storage/File4System.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class CGroupFile {
public:
    static constexpr std::uint32_t kNewFormatMark = 0x01000000;
    // The count shares the header with the mark, so it must stay below it.
    static constexpr std::uint32_t kMaxItems = kNewFormatMark - 1;
    // Group files are small; anything near this size is not one, and reading it whole would
    // only waste memory.
    static constexpr long long kMaxFileSize = 256LL * 1024 * 1024;

    // Reads the group file at `path` into `data`. On failure `data` is left as it was and
    // `error` holds the reason, naming the file. Never writes anything.
    static bool read(const std::string& path, CGroupFileData& data, std::string& error);

    // Decodes a group file image. Allocates no more than the image's size suggests, whatever the
    // header and the length prefixes claim. On failure `data` is unchanged.
    static bool parse(std::string_view bytes, CGroupFileData& data, std::string& error);

    // Encodes `data` in the new format. False when there are more than kMaxItems items or a
    // text of 4 GiB or more.
    static bool serialize(const CGroupFileData& data, std::string& bytes, std::string& error);

    // Writes the group file: into a new file in the same folder, flushed to disk, then renamed
    // over `path`, so a failed write leaves the old file whole. An existing file keeps its
    // permission bits; a symbolic link is followed and its target replaced. Afterwards the
    // people file name in `data` loses a drive-letter prefix, as the file would on reading.
    // The file operations go through `fs`.
    static bool write(const std::string& path, CGroupFileData& data, std::string& error,
                      File4System& fs = file4posix());

    // "C:\Data\X.dbf" -> "X.dbf": a name whose second character is ':' is cut after its last
    // '\' or ':'. Other names are left alone.
    static void cutDriveLetter(std::string& name);
    // The cut applied to a people file name read from a file: after the last '\', ':' or '/', so
    // that names written on any system resolve in the group's own folder.
    static void cutToBareName(std::string& name);
};

} // namespace orv
