#include "tools/CWhiteSpot.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <string>

#include "params/CameraParamTable.h"
#include "params/ParamAccess.h"
#include "tools/WhiteSpotFormat.h"
#include "ui_CWhiteSpot.h"
#include "widgets/DialogUnits.h"
#include "widgets/ScrollInputFilter.h"
#include "widgets/ScrollRequest.h"

namespace {

constexpr int kColours = 3;
constexpr int kSpotsPerColour = 64;
constexpr int kSpotListEnd = 0xFFFF;
// A multi-line edit field's tab stops lie 32 dialog units apart.
constexpr int kTabStopDlu = 32;

}  // namespace

CWhiteSpot::CWhiteSpot(QWidget* parent) : ToolWindow(EnterKey::Hides, parent) {
    buildControls();
}

void CWhiteSpot::buildControls() {
    Ui::WhiteSpotTemplate ui;
    const zr::widgets::DialogUnits units = setUpFromTemplate(ui);
    ui.spotList->setTabStopDistance(units.toPixelsX(kTabStopDlu));
    ui.spotList->setTabChangesFocus(true);
    // A frame only: clicks go to the controls inside it.
    ui.addressGroup->setAttribute(Qt::WA_TransparentForMouseEvents);

    new zr::widgets::ScrollInputFilter(
        ui.thresholdBar, [this](int code, int position) { OnHScroll(code, position); });

    connect(ui.detectButton, &QPushButton::clicked, this, [this] { OnDetect(); });
    connect(ui.readButton, &QPushButton::clicked, this, [this] { OnRead(); });
    connect(ui.closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void CWhiteSpot::setUpWindow() {
    // When the camera does not answer, the panel's last known threshold is
    // shown: what it last read or wrote, or the default before any read.
    int32_t value = context.params->table()[zr::ROW_WHITE_SPOT_LEVEL].value;
    context.params->ReadParam(zr::ROW_WHITE_SPOT_LEVEL, value);

    control<QScrollBar>(IDC_THRESHOLD)->setRange(0, 255);
    moveThreshold(value, zr::tools::thresholdOpeningText(value));
    // A walk or a file that changes the table moves the bar too.
    tableListening_ = context.params->changes().listen(
        [this] { ShowThreshold(context.params->table()[zr::ROW_WHITE_SPOT_LEVEL].value); });
}

void CWhiteSpot::moveThreshold(int value, const std::string& readout) {
    control<QScrollBar>(IDC_THRESHOLD)->setValue(value);
    control<QLabel>(IDC_THRESHOLD_TEXT)->setText(QString::fromStdString(readout));
}

void CWhiteSpot::OnHScroll(int code, int position) {
    auto* bar = static_cast<QScrollBar*>(control(IDC_THRESHOLD));
    const std::optional<int> target =
        zr::widgets::scrollTarget(code, bar->value(), position, bar->minimum(), bar->maximum());
    if (!target || !context.complete()) return;
    const QPointer<CWhiteSpot> self(this);
    // A refused write leaves the thumb and the read-out where they were.
    if (context.params->WriteParam(zr::ROW_WHITE_SPOT_LEVEL, *target) != 0 || !self) return;
    moveThreshold(*target, zr::tools::thresholdMovedText(*target));
}

void CWhiteSpot::ShowThreshold(int value) {
    if (control<QScrollBar>(IDC_THRESHOLD)->value() == value) return;
    // A programmatic move triggers no action: nothing is written.
    moveThreshold(value, zr::tools::thresholdMovedText(value));
}

void CWhiteSpot::OnDetect() {
    if (!context.complete()) return;
    const QPointer<CWhiteSpot> self(this);
    // A refused start is not reported here; the link has said why, and the
    // polling finds out what the camera does.
    context.params->WriteParam(zr::ROW_WHITE_SPOT_DETECT, 1);
    if (!self) return;
    control(IDC_DETECT)->setEnabled(false);
    detectPoll_.start();
}

void CWhiteSpot::OnTimer(int id) {
    if (id == kDetectTimerId) detectPoll_.tick();
}

void CWhiteSpot::pollDetection() {
    if (!waitCursor_) waitCursor_.emplace();
    const QPointer<CWhiteSpot> self(this);
    int32_t status = 0;
    const int32_t result = context.params->ReadParam(zr::ROW_WHITE_SPOT_DETECT, status);
    if (!self) return;
    if (result != 0 || status == 1) {
        detectPoll_.start();
        return;
    }
    waitCursor_.reset();
    showResult(zr::tools::detectResultText(status));
    if (!self) return;
    // The list is read only once the user has closed the message.
    if (status == 0) ListWhiteSpots();
    if (!self) return;
    control(IDC_DETECT)->setEnabled(true);
}

void CWhiteSpot::endDetection() {
    detectPoll_.stop();
    waitCursor_.reset();
    control(IDC_DETECT)->setEnabled(true);
}

void CWhiteSpot::OnRead() {
    ListWhiteSpots();
}

void CWhiteSpot::ListWhiteSpots() {
    if (!context.complete()) return;
    const QPointer<CWhiteSpot> self(this);
    // Up to 384 reads one after the other.
    const zr::widgets::WaitCursor wait;
    std::string text;
    for (int c = 0; c < kColours; ++c) {
        for (int n = 0; n < kSpotsPerColour; ++n) {
            const int x = ReadSpotCoordinate(c, n, 0);
            if (!self || x < 0) return;
            if (x == kSpotListEnd) break;
            const int y = ReadSpotCoordinate(c, n, 1);
            if (!self || y < 0) return;
            text += zr::tools::spotLine(c, n + 1, x, y);
        }
    }
    if (text.empty()) text = zr::tools::kNoWhiteSpotText;
    setSpotList(QString::fromStdString(text));
}

int CWhiteSpot::ReadSpotCoordinate(int colour, int spot, int coordinate) {
    if (!context.complete()) return -1;
    zr::AnswerBytes answer{};
    const std::string text = zr::tools::spotCoordinateReadText(colour, spot, coordinate);
    if (context.params->ReadRegister(text, answer) != 1) return -1;
    return answer[0] * 256 + answer[1];
}

void CWhiteSpot::setSpotList(const QString& text) {
    spotListText_ = text;
    static_cast<QPlainTextEdit*>(control(IDC_SPOT_LIST))->setPlainText(text);
}

void CWhiteSpot::showResult(const char* text) {
    // Owned by the panel: the box also comes up while this window is hidden.
    showBox(text, applicationCaption(), zr::MsgIcon::None, context.boxOwner);
}
