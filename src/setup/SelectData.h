#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "setup/ClPortList.h"

namespace zr {

// The setup dialog's data: what the user chose, kept apart from the widgets
// that show it. The Serial Port command reads these fields after OK.
struct SelectData {
    // radioChoice values: 0..9 are COM 1..COM 10, then the buttons after them.
    enum : int {
        ChoiceNone = -1,
        ChoiceCom11Up = 10,
        ChoiceEuresys = 11,
        ChoiceMatrox = 12,
        ChoiceOtherFactory = 13,
        ChoiceClAll = 14,
    };

    enum : int { KindNone = -1, KindComPort = 0, KindBoardLibrary = 1, KindClAll = 2 };

    using PortInfo = ClPortList::PortInfo;

    uint8_t openRequested = 0;
    uint8_t browseBusy = 0;
    int TransportKind = KindNone;
    int radioChoice = ChoiceNone;
    int comNumber = 0;
    int baudIndex = 0;
    int openCloseIndex = 0;
    int baudRate = 0;
    QString dllPath;
    uint32_t clPortCount = 0;
    QString manufacturerText;
    std::vector<PortInfo> portInfo;
};

}  // namespace zr
