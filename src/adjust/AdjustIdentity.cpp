#include "adjust/AdjustIdentity.h"

#include <QLabel>
#include <QLineEdit>
#include <optional>
#include <string>
#include <string_view>

#include "adjust/AdjustControlIds.h"
#include "params/CameraIdentity.h"
#include "params/ParamAccess.h"
#include "params/RegisterText.h"
#include "widgets/ToolWindow.h"

using namespace adjust_id;

namespace {

// Text register bytes for display. Bytes outside printable ASCII have no
// agreed character on this side; they show as the replacement character
// rather than as some guess.
QString displayText(const std::string& bytes) {
    QString text;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += (byte >= 0x20 && byte <= 0x7E) ? QChar(byte) : QChar(QChar::ReplacementCharacter);
    }
    return text;
}

}  // namespace

void AdjustIdentity::read() {
    const zr::CameraIdentity identity = zr::CameraIdentity::read(*window_.context.params);
    auto show = [this](int id, const std::optional<std::string>& bytes, const char* placeholder) {
        window_.control<QLabel>(id)->setText(displayText(bytes.value_or(placeholder)));
    };
    const char* const names[] = {"****************", "******", "********"};
    show(VENDOR, identity.vendor, names[0]);
    show(MODEL, identity.model, names[0]);
    show(CPU_VERSION, identity.cpuVersion, names[1]);
    show(FPGA_VERSION, identity.fpgaVersion, names[1]);
    show(SERIAL_NUMBER, identity.serialNumber, names[2]);
}

bool AdjustIdentity::writeSerialNumber() {
    const QByteArray text = window_.control<QLineEdit>(SERIAL_EDIT)->text().toUtf8();
    const auto registers =
        register_text::serialRegisters(std::string_view(text.constData(), text.size()));
    if (!registers) return false;
    for (int i = 0; i < zr::SerialNumberRows; ++i)
        window_.context.params->WriteParam(zr::ROW_SERIAL_NUMBER + i, (*registers)[i]);
    return true;
}
