#pragma once

#include <string>
#include <string_view>

namespace zr {

// Replaces the file at `path` with `content`; 0 or the errno of the failure.
//
// Where the folder allows it, the content goes to a temporary file beside the
// target, is flushed to disk and then renamed over the target, so a failure
// at any point leaves an existing file as it was and no temporary file behind.
// Where the folder refuses the temporary file or the rename (EACCES, EPERM,
// ENAMETOOLONG), an existing writable file is overwritten in place instead:
// not truncated first, cut to size, flushed, and its old bytes put back if the
// write fails. A symbolic link is written through, not replaced; a folder, a
// device, a pipe or a write-protected target is refused rather than replaced;
// an existing target keeps its permission bits.
int replaceFileSafely(const std::string& path, std::string_view content);

// ENOENT names a missing file only when its folder exists; otherwise the path
// itself is wrong (ENOTDIR). Other errors are returned as they are.
int refineMissingFile(int err, const std::string& path);

}  // namespace zr
