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

// Writes the table file through replaceFileSafely: a failure leaves an
// existing file as it was, and the target keeps its permission bits.
LutFileResult saveLutFile(const std::string& path, const LutTable& table);

}  // namespace zr
