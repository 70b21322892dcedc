#pragma once
// Replacing a whole file so that a reader sees the old contents or the new, never a mix, and a
// crash leaves one of the two.
//
// The new contents go to a file created beside the target (rename() replaces in one step only
// within one file system) with O_CREAT | O_EXCL | O_NOFOLLOW under a name no other user can
// guess: in a folder others may write, a planted file or symbolic link of that name cannot
// receive our bytes, and one planted by chance only costs another name. The new file takes the
// permission bits of the file it replaces (of a regular file: a symbolic link named `path` is
// replaced itself, never followed), or `newMode` less the umask when there is none. It is
// flushed, renamed over `path`, and the folder is flushed after the rename, so that the rename
// itself survives a crash. A failure before the rename leaves `path` as it was and removes the
// new file.

#include "storage/File4System.h"

#include <string>

namespace orv {

// Returns 0, or -errno of the step that failed. A failure to flush the folder after the rename
// is not reported: the file is in place by then and some shares refuse to flush folders.
int file4replace(File4System& fs, const std::string& path, const std::string& bytes,
                 int newMode = 0666);

} // namespace orv
