#include "params/BulkOperations.h"

namespace zr {

namespace {

// Rows 50..52 make the camera load or overwrite a setting memory or run the
// factory setting; a bulk write stops short of them.
constexpr int kLastPlainSettingRow = ROW_MEMORY_LOAD - 1;

constexpr const char* kFactoryQuestion = "Do you want to execute Factory Setting?";
constexpr const char* kInitializeQuestion = "Do you want to intialize all settings?";
constexpr const char* kQuestionCaption = "ZR-K880TM";

}  // namespace

BulkOperations::BulkOperations(ParamAccess& params) : params_(params) {}

void BulkOperations::ReadFromCamera() {
    readBack();
}

void BulkOperations::WriteToCamera() {
    for (int row = 0; row <= kLastPlainSettingRow; ++row) {
        if (params_.WriteParam(row, params_.table()[row].value) != 0) return;
    }
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

void BulkOperations::readBack() {
    for (int row = 0; row < UserParamCount; ++row) {
        int32_t value = 0;
        if (params_.ReadParam(row, value) != 0) break;
    }
    if (refresh_) refresh_();
}

bool BulkOperations::confirm(const char* text) {
    const Message question{
        text, kQuestionCaption, MsgIcon::Question, MsgButtons::YesNo, params_.owner(), false};
    return params_.link().messages().show(question) == MsgResult::Yes;
}

}  // namespace zr
