#include "tools/CLinkTrace.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimerEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <vector>

#include "link/LinkStatus.h"
#include "link/TraceQueue.h"
#include "params/CameraParamTable.h"
#include "params/FileErrorText.h"
#include "params/ParamNames.h"
#include "params/SafeFileReplace.h"

namespace {

// Records taken per poll: enough for the fastest line, few enough that a
// poll never holds up the user interface.
constexpr size_t kPollRecords = 4096;

}  // namespace

CLinkTrace::CLinkTrace(zr::TraceQueue& queue, QWidget* parent)
    : ToolWindow(EnterKey::Hides, parent), queue_(queue) {
    buildControls();
}

CLinkTrace::~CLinkTrace() {
    queue_.setListening(false);
}

void CLinkTrace::buildControls() {
    setWindowTitle(QStringLiteral("Link Trace"));
    view_ = new QPlainTextEdit(this);
    view_->setObjectName(QStringLiteral("traceView"));
    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setMaximumBlockCount(static_cast<int>(kMaxLines));
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    pauseButton_ = new QPushButton(QStringLiteral("&Pause"), this);
    pauseButton_->setObjectName(QStringLiteral("pauseButton"));
    pauseButton_->setCheckable(true);
    auto* clearButton = new QPushButton(QStringLiteral("C&lear"), this);
    clearButton->setObjectName(QStringLiteral("clearButton"));
    auto* saveButton = new QPushButton(QStringLiteral("&Save CSV..."), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    auto* closeButton = new QPushButton(QStringLiteral("CLOSE"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("countLabel"));
    for (QPushButton* b : {pauseButton_, clearButton, saveButton, closeButton})
        b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pauseButton_);
    buttons->addWidget(clearButton);
    buttons->addWidget(saveButton);
    buttons->addWidget(countLabel_, 1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    resize(defaultWidth(), 420);
    showCount();

    // Lines laid out later, or a resize, move the end.
    connect(view_->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] {
        if (appending_) return;  // placed once the lines are in
        noteUserScroll();
        if (following_) scrollToEnd();
    });
    connect(pauseButton_, &QPushButton::toggled, this, [this](bool on) { setPaused(on); });
    connect(clearButton, &QPushButton::clicked, this, [this] { clear(); });
    connect(saveButton, &QPushButton::clicked, this, [this] { OnSave(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

int CLinkTrace::defaultWidth() const {
    // The longest lines whole: a command frame naming the longest setting,
    // and an ACK with an answer frame, its value and the round trip.
    size_t longest = 0;
    for (int row = 0; row < zr::CameraParamRows; ++row)
        longest = std::max(longest, zr::ParamNames::name(row).size());
    const std::string name(longest, 'w');
    auto bytes = [](int n) {
        std::string hex = "00";
        for (int i = 1; i < n; ++i) hex += " 00";
        return hex;
    };
    const zr::TraceLine samples[] = {
        {999999, "->", bytes(zr::kCommandFrameSize), std::string(zr::kCommandFrameSize, '.'),
         "write " + name + " = 65535", -1},
        {999999, "<-", bytes(11), std::string(11, '.'),
         "ACK, answer 00 00 00: " + name + " = 65535", 3003},
    };
    const QFontMetrics metrics(view_->font());
    int widest = 0;
    for (const zr::TraceLine& l : samples)
        widest = std::max(widest, metrics.horizontalAdvance(lineText(l)));
    // The view's frame, margins and scroll bar, the window's margins.
    const QMargins margins = layout()->contentsMargins();
    const int chrome = 2 * view_->frameWidth() +
                       2 * static_cast<int>(view_->document()->documentMargin()) +
                       view_->verticalScrollBar()->sizeHint().width() + margins.left() +
                       margins.right() + metrics.averageCharWidth();
    return widest + chrome;
}

QString CLinkTrace::lineText(const zr::TraceLine& l) {
    // Milliseconds since the port was opened, as in the saved CSV.
    QString text =
        QStringLiteral("%1 ms  %2  ").arg(l.ms, 10).arg(QString::fromStdString(l.direction), -2);
    if (!l.hex.empty())
        text += QString::fromStdString(l.hex) + QStringLiteral("  |") +
                QString::fromStdString(l.text) + QStringLiteral("|  ");
    text += QString::fromStdString(l.meaning);
    if (l.roundTripMs >= 0) text += QStringLiteral("  (round trip %1 ms)").arg(l.roundTripMs);
    return text;
}

// Listens only while shown: a closed window costs the worker nothing.
void CLinkTrace::showEvent(QShowEvent* event) {
    ToolWindow::showEvent(event);
    if (queue_.listening()) return;
    // What was queued before belongs to an earlier showing.
    queue_.discard();
    decoder_ = zr::TraceDecoder(queue_.openedTick());
    queue_.setListening(true);
    pollTimer_.start(kPollMs, this);
}

void CLinkTrace::hideEvent(QHideEvent* event) {
    queue_.setListening(false);
    pollTimer_.stop();
    // Everything this showing's events make, the line held back for its
    // meanings too: the next showing starts a decoder of its own.
    std::vector<zr::TraceLine> fresh;
    zr::decodeQueued(queue_, decoder_, queue_.capacity(), fresh);
    decoder_.flush(fresh);
    append(fresh);
    ToolWindow::hideEvent(event);
}

void CLinkTrace::timerEvent(QTimerEvent* event) {
    if (event->timerId() == pollTimer_.timerId()) {
        poll();
        return;
    }
    ToolWindow::timerEvent(event);
}

void CLinkTrace::poll() {
    std::vector<zr::TraceLine> fresh;
    zr::decodeQueued(queue_, decoder_, kPollRecords, fresh);
    append(fresh);
}

void CLinkTrace::append(std::vector<zr::TraceLine>& fresh) {
    if (fresh.empty()) return;
    QStringList texts;
    for (zr::TraceLine& l : fresh) {
        if (!paused_) texts << lineText(l);
        lines_.push_back(std::move(l));
    }
    while (lines_.size() > kMaxLines) lines_.pop_front();
    // The view keeps the same number of lines by itself.
    if (!texts.isEmpty()) {
        noteUserScroll();
        QScrollBar* bar = view_->verticalScrollBar();
        const int kept = bar->value();
        const int room = static_cast<int>(kMaxLines) - view_->document()->blockCount();
        appending_ = true;
        view_->appendPlainText(texts.join(QLatin1Char('\n')));
        appending_ = false;
        if (following_) {
            scrollToEnd();
        } else {
            // The toolkit follows by a guess of its own: the user's place
            // stays, less the lines that went off the top.
            bar->setValue(std::max(0, kept - std::max(0, static_cast<int>(texts.size()) - room)));
            placedAt_ = bar->value();
        }
    }
    showCount();
}

void CLinkTrace::noteUserScroll() {
    // Only the user moves the view between two placings of the window's.
    const QScrollBar* bar = view_->verticalScrollBar();
    if (bar->value() != placedAt_) following_ = bar->value() == bar->maximum();
}

void CLinkTrace::scrollToEnd() {
    QScrollBar* bar = view_->verticalScrollBar();
    bar->setValue(bar->maximum());
    placedAt_ = bar->value();
    following_ = true;
}

void CLinkTrace::setPaused(bool paused) {
    if (paused_ == paused) return;
    paused_ = paused;
    pauseButton_->setChecked(paused);
    if (paused) return;
    // The lines that came while paused, shown all at once.
    QStringList texts;
    for (const zr::TraceLine& l : lines_) texts << lineText(l);
    view_->setPlainText(texts.join(QLatin1Char('\n')));
    scrollToEnd();
}

void CLinkTrace::clear() {
    lines_.clear();
    view_->clear();
    scrollToEnd();
    showCount();
}

void CLinkTrace::showCount() {
    countLabel_->setText(QStringLiteral("%1 lines").arg(lines_.size()));
}

QString CLinkTrace::viewText() const {
    return view_->toPlainText();
}

void CLinkTrace::OnSave() {
    const QString path =
        chooser_ ? chooser_()
                 : QFileDialog::getSaveFileName(this, QStringLiteral("SAVE LINK TRACE"), QString(),
                                                QStringLiteral("csv file (*.csv)"));
    if (!path.isEmpty()) saveCsv(path);
}

bool CLinkTrace::saveCsv(const QString& path) {
    std::string csv = zr::traceCsvHeader();
    for (const zr::TraceLine& l : lines_) csv += zr::traceCsvLine(l);
    const std::string file = QFile::encodeName(path).toStdString();
    const int err = zr::replaceFileSafely(file, csv);
    if (err == 0) return true;
    showBox(zr::fileErrorMessage(err, path.toStdString()), applicationCaption(), zr::MsgIcon::Error,
            this);
    return false;
}
