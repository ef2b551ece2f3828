#include "setup/SavedPortChoice.h"

#include <QSettings>

#include "widgets/ApplicationNames.h"

namespace zr {

namespace {
constexpr int kNoSavedChoice = -1;
constexpr int kLastChoice = 14;  // CL ALL
}  // namespace

int SavedPortChoice::load() {
    QSettings profile(kProfileOrganisation, kApplicationName);
    bool ok = false;
    const int value = profile.value("Recent/ComPort", kNoSavedChoice).toInt(&ok);
    if (!ok || value < kNoSavedChoice || value > kLastChoice) return kNoSavedChoice;
    return value;
}

void SavedPortChoice::save(int choice) {
    QSettings profile(kProfileOrganisation, kApplicationName);
    profile.setValue("Recent/ComPort", choice);
    profile.sync();
}

}  // namespace zr
