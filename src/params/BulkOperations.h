#pragma once

#include <cstdint>
#include <vector>

#include "params/ParamAccess.h"
#include "params/SettingsFile.h"

namespace zr {

// The key that opens the camera's adjust mode when written to row 54.
inline constexpr int32_t AdjustAccessCode = 0x4A5C;

// Operations that move many settings at once. They use only the parameter
// operations, and tell the table's listeners once a walk has read it back.
class BulkOperations {
  public:
    explicit BulkOperations(ParamAccess& params);

    // True when every row was read.
    bool ReadFromCamera();
    void WriteToCamera();
    // Writes rows 0..49 in order as WriteToCamera does, each row's value from
    // `values` where they hold the row, else the table's; stops at the first
    // refusal. Returns the refused row, or -1 when every write went through.
    int WriteSettings(const std::vector<SettingsEntry>& values);
    // Whether a bulk write (WriteToCamera, WriteSettings) writes `row`: rows
    // from 50 on make the camera load or overwrite a setting memory or run
    // the factory setting, so a bulk write stops short of them.
    static constexpr bool writesRow(int row) { return row >= 0 && row < ROW_MEMORY_LOAD; }
    // memory: 0 DEFAULT, 1..4 FILE 1..4, -1 no selection.
    void LoadMemory(int memory);
    void SaveMemory(int memory);
    void FactorySetting();  // asks first
    void AllInitialize();   // asks first

  private:
    // Reads rows 0..52 in order, stopping at the first failure, then tells the
    // table's listeners either way. True when every row was read.
    bool readBack();
    bool confirm(const char* text);

    ParamAccess& params_;
};

}  // namespace zr
