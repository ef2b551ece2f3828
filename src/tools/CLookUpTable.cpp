#include "tools/CLookUpTable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "link/SerialLink.h"
#include "params/LutFile.h"
#include "params/LutTransfer.h"
#include "params/ParamAccess.h"
#include "tools/LutPlot.h"
#include "tools/LutProgressDialog.h"
#include "tools/LutTemplate.h"
#include "widgets/DialogUnits.h"
#include "widgets/WaitCursor.h"
#include "widgets/WindowBuilder.h"

namespace {

// Dialog units from the dialog font, with a floor that keeps the controls
// below the plot (sized in pixels) when the font is small.
zr::widgets::DialogUnits dialogUnits(const QFont& font) {
    const zr::widgets::DialogUnits measured(font);
    return zr::widgets::DialogUnits(std::max(6, measured.baseWidth()),
                                    std::max(13, measured.baseHeight()));
}

// STEP 16, 32, 64, 128, 256 points: every 16th, 8th, ... entry is one.
int stepFromIndex(int index) {
    return index >= 0 && index < 4 ? 16 >> index : 1;
}

}  // namespace

CLookUpTable::CLookUpTable(QWidget* parent) : ToolWindow(EnterKey::Hides, parent) {
    setWindowTitle(QStringLiteral(" LOOK UP TABLE"));
    buildControls();
    exchangeToControls();
}

void CLookUpTable::buildControls() {
    zr::widgets::WindowBuilder(this, dialogUnits(font())).build(lutTemplate());
    controls().addTemplate(this);

    stepGroup_ = new QButtonGroup(this);
    for (int id = IDC_STEP_16; id <= IDC_STEP_256; ++id) {
        stepGroup_->addButton(controls().button(id), id - IDC_STEP_16);
    }
    connect(stepGroup_, &QButtonGroup::idClicked, this, [this] { OnStepOrChannel(); });
    for (int c = 0; c < 3; ++c) {
        channelBoxes_[c] = static_cast<QCheckBox*>(control(IDC_SHOW_R + c));
        connect(channelBoxes_[c], &QCheckBox::clicked, this, [this] { OnStepOrChannel(); });
    }

    auto button = [this](int id) { return static_cast<QPushButton*>(control(id)); };
    connect(button(IDC_CLOSE), &QPushButton::clicked, this, &QDialog::reject);
    connect(button(IDC_OPEN), &QPushButton::clicked, this, [this] { OnOpen(); });
    connect(button(IDC_SAVE), &QPushButton::clicked, this, [this] { OnSave(); });
    connect(button(IDC_GAMMA_045), &QPushButton::clicked, this, [this] { OnGamma045(); });
    connect(button(IDC_GAMMA_10), &QPushButton::clicked, this, [this] { OnGamma10(); });
    connect(button(IDC_READ), &QPushButton::clicked, this, [this] { OnRead(); });
    connect(button(IDC_WRITE), &QPushButton::clicked, this, [this] { OnWrite(); });
}

void CLookUpTable::setUpWindow() {
    exchangeToControls();
}

void CLookUpTable::exchangeToControls() {
    if (QAbstractButton* radio = stepGroup_->button(stepIndex)) radio->setChecked(true);
    for (int c = 0; c < 3; ++c) channelBoxes_[c]->setChecked(showChannel[c] != 0);
}

void CLookUpTable::exchangeFromControls() {
    stepIndex = stepGroup_->checkedId();
    for (int c = 0; c < 3; ++c) showChannel[c] = channelBoxes_[c]->isChecked() ? 1 : 0;
}

void CLookUpTable::OnStepOrChannel() {
    exchangeFromControls();
    step = stepFromIndex(stepIndex);
    RedrawPlot();
}

void CLookUpTable::RedrawPlot() {
    update(LutPlot::redrawRect());
}

QImage CLookUpTable::plotImage() const {
    LutPlotState state;
    state.entries = &entries;
    state.showChannel = {showChannel[0], showChannel[1], showChannel[2]};
    state.step = step;
    state.dragging = dragging != 0;
    state.selectedIndex = selectedIndex;
    return LutPlot::render(state);
}

void CLookUpTable::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(LutPlot::kLeft, LutPlot::kTop, plotImage());
}

void CLookUpTable::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    drag_.press(event->position().toPoint());
    RedrawPlot();
}

void CLookUpTable::mouseMoveEvent(QMouseEvent* event) {
    if (drag_.move(event->position().toPoint(), event->buttons().testFlag(Qt::LeftButton)))
        RedrawPlot();
}

void CLookUpTable::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    if (const std::optional<int> v = drag_.draggedValue(event->position().toPoint())) {
        zr::widgets::WaitCursor wait;
        ApplyPoint(selectedIndex, *v);
    }
    drag_.drop();
    RedrawPlot();
}

void CLookUpTable::hideEvent(QHideEvent* event) {
    // Hidden mid-drag (Escape), the button-up never comes: drop the drag
    // rather than let a later move change the table. Nothing is sent.
    drag_.drop();
    QDialog::hideEvent(event);
}

void CLookUpTable::ApplyPoint(int a, int v) {
    if (context.complete()) drag_.apply(*context.params, a, v);
}

void CLookUpTable::OnGamma045() {
    for (int i = 0; i < 256; ++i) {
        const int w = static_cast<int>(255.0 * std::pow(i / 255.0, 0.45));
        for (auto& channel : entries) channel[i] = w;
    }
    RedrawPlot();
}

void CLookUpTable::OnGamma10() {
    entries = zr::identityLut();
    RedrawPlot();
}

void CLookUpTable::OnRead() {
    if (!context.complete()) return;
    runWalk(LutWalkRunner::Direction::Read, [this](const zr::LutProgress& progress) {
        return zr::readLut(*context.params, entries, walkEntries, progress);
    });
}

void CLookUpTable::OnWrite() {
    if (!context.complete()) return;
    const zr::LutChannelSet channels{showChannel[0] != 0, showChannel[1] != 0, showChannel[2] != 0};
    if (std::none_of(channels.begin(), channels.end(), [](bool shown) { return shown; })) return;
    runWalk(LutWalkRunner::Direction::Write, [this, &channels](const zr::LutProgress& progress) {
        return zr::writeLut(*context.params, entries, channels, walkEntries, progress);
    });
}

void CLookUpTable::runWalk(LutWalkRunner::Direction direction, const LutWalkRunner::Walk& walk) {
    const LongWalk owner;
    LutWalkRunner runner(direction, walkEntries, progressDelayMs, this);
    connect(&runner.progress(), &LutProgressDialog::advanced, this,
            &CLookUpTable::transferAdvanced);
    const std::string ending = runner.run(walk);
    // After a failure or a cancel too: show what was read before it, not a
    // stale plot.
    if (direction == LutWalkRunner::Direction::Read) RedrawPlot();
    if (!ending.empty()) showMessage(ending, false);
}

void CLookUpTable::OnOpen() {
    const QString path = ChooseLutFile(false);
    if (path.isEmpty()) return;
    const zr::LutFileResult result =
        zr::loadLutFile(QFile::encodeName(path).toStdString(), entries);
    if (result.fileFailed()) {
        showMessage(zr::fileErrorMessage(result.cause(), path.toStdString()), true);
        return;
    }
    // A refused file leaves the table as it was, so a later WRITE cannot send
    // half of it.
    if (!result.csv.ok()) {
        showMessage(result.csv.message(), false);
        return;
    }
    RedrawPlot();
}

void CLookUpTable::OnSave() {
    const QString path = ChooseLutFile(true);
    if (path.isEmpty()) return;
    const zr::LutFileResult result =
        zr::saveLutFile(QFile::encodeName(path).toStdString(), entries);
    if (result.fileFailed()) {
        showMessage(zr::fileErrorMessage(result.cause(), path.toStdString()), true);
    }
}

QString CLookUpTable::ChooseLutFile(bool save) {
    if (chooser_) return chooser_(save);
    QFileDialog dialog(this,
                       save ? QStringLiteral("SAVE LUT FILE") : QStringLiteral("OPEN LUT FILE"));
    dialog.setNameFilter(QStringLiteral("csv file (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

void CLookUpTable::showMessage(const std::string& text, bool errorIcon) {
    showBox(text, applicationCaption(), errorIcon ? zr::MsgIcon::Error : zr::MsgIcon::None, this);
}
