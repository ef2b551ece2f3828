#include "params/BulkOperations.h"

namespace zr {

namespace {

constexpr const char* kFactoryQuestion = "Do you want to execute Factory Setting?";
constexpr const char* kInitializeQuestion = "Do you want to intialize all settings?";
constexpr const char* kQuestionCaption = "ZR-K880TM";

}  // namespace

BulkOperations::BulkOperations(ParamAccess& params) : params_(params) {}

bool BulkOperations::ReadFromCamera() {
    return readBack();
}

void BulkOperations::WriteToCamera() {
    WriteSettings({});
}

int BulkOperations::WriteSettings(const std::vector<SettingsEntry>& values) {
    for (int row = 0; writesRow(row); ++row) {
        int32_t value = params_.table()[row].value;
        for (const SettingsEntry& entry : values)
            if (entry.row == row) value = entry.value;
        if (params_.WriteParam(row, value) != 0) return row;
    }
    return -1;
}

void BulkOperations::LoadMemory(int memory) {
    if (params_.WriteParam(ROW_MEMORY_LOAD, memory) != 0) return;
    readBack();
}

void BulkOperations::SaveMemory(int memory) {
    params_.WriteParam(ROW_MEMORY_SAVE, memory);
}

void BulkOperations::FactorySetting() {
    if (!confirm(kFactoryQuestion)) return;
    // The camera's values are read back whether or not the command went out.
    params_.WriteParam(ROW_FACTORY_SETTING, 1);
    readBack();
}

void BulkOperations::AllInitialize() {
    if (!confirm(kInitializeQuestion)) return;
    params_.WriteParam(ROW_ADJUST_KEY, AdjustAccessCode);
    params_.WriteCommandText(InitializeCommandText);
}

bool BulkOperations::readBack() {
    bool complete = true;
    for (int row = 0; row < UserParamCount && complete; ++row) {
        int32_t value = 0;
        complete = params_.ReadParam(row, value) == 0;
    }
    params_.changes().notify();
    return complete;
}

bool BulkOperations::confirm(const char* text) {
    const Message question{
        text, kQuestionCaption, MsgIcon::Question, MsgButtons::YesNo, params_.owner(), false};
    return params_.link().messages().show(question) == MsgResult::Yes;
}

}  // namespace zr
