#pragma once

#include <string>

#include "params/FileErrorText.h"
#include "params/LutCsv.h"

namespace zr {

// Outcome of loading or saving a table file: either the file itself failed
// (err is its errno) or, for loading, the reader's verdict on the content.
struct LutFileResult {
    int err = 0;
    LutCsvResult csv;

    bool ok() const { return err == 0 && csv.ok(); }
    bool fileFailed() const { return err != 0; }
    FileErrorCause cause() const { return fileErrorCause(err); }
};

// Reads a table file into `table`. The table changes only when the whole file
// is accepted: a file that cannot be opened or read, or whose content the
// reader refuses (LutCsvReader), leaves it as it was. Only regular files are
// read.
LutFileResult loadLutFile(const std::string& path, LutTable& table);

// Writes the table file. Where the folder allows it, the new content goes to a
// temporary file beside the target, is flushed to disk and then renamed over
// the target, so a failure at any point leaves an existing file as it was.
// Where the folder refuses the temporary file or the rename, an existing
// writable file is overwritten in place instead (its old bytes are put back
// if the write fails). A write-protected target is refused rather than
// replaced; the target keeps its permission bits.
LutFileResult saveLutFile(const std::string& path, const LutTable& table);

}  // namespace zr
