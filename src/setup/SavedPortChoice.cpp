#include "setup/SavedPortChoice.h"

#include <QSettings>

#include "setup/SelectData.h"
#include "widgets/ApplicationNames.h"

namespace zr {

int SavedPortChoice::load() {
    QSettings profile(kProfileOrganisation, kApplicationName);
    bool ok = false;
    const int value = profile.value("Recent/ComPort", SelectData::ChoiceNone).toInt(&ok);
    if (!ok || value < SelectData::ChoiceNone || value > SelectData::ChoiceClAll)
        return SelectData::ChoiceNone;
    return value;
}

void SavedPortChoice::save(int choice) {
    QSettings profile(kProfileOrganisation, kApplicationName);
    profile.setValue("Recent/ComPort", choice);
    profile.sync();
}

}  // namespace zr
