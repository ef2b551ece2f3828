#include "BoxCloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QtTest/QTest>
#include <algorithm>

#include "setup/CSelect.h"

namespace zr::test {

namespace {
constexpr int kPollMs = 3;
constexpr int kMinDelayMs = 5;
// Long enough for the tool windows' 100 and 300 ms polls to fire inside now and then.
constexpr int kMaxDelayMs = 120;
}  // namespace

BoxCloser::BoxCloser(uint32_t seed) : random_(seed) {
    poller_.setInterval(kPollMs);
    connect(&poller_, &QTimer::timeout, this, [this] { poll(); });
    clock_.start();
}

void BoxCloser::start() {
    poller_.start();
}

void BoxCloser::stop() {
    poller_.stop();
}

std::vector<std::string> BoxCloser::takeTexts() {
    std::vector<std::string> taken;
    taken.swap(texts_);
    return taken;
}

void BoxCloser::poll() {
    QWidget* window = QApplication::activePopupWidget();
    if (window == nullptr) window = QApplication::activeModalWidget();
    // A progress dialog is not a question: the operator cancels it as an
    // action of its own, at a seeded point.
    if (qobject_cast<QProgressDialog*>(window)) window = nullptr;
    if (window == nullptr || !window->isVisible()) {
        target_ = nullptr;
        return;
    }
    if (window != target_) {
        target_ = window;
        const int spread = quick_ ? 3 : kMaxDelayMs - kMinDelayMs;
        due_ = clock_.elapsed() + (quick_ ? 1 : kMinDelayMs) + random_() % spread;
        std::erase_if(counted_, [](const QPointer<QWidget>& seen) { return seen.isNull(); });
        const bool counted = std::ranges::any_of(
            counted_, [window](const QPointer<QWidget>& seen) { return seen == window; });
        auto* box = qobject_cast<QMessageBox*>(window);
        if (box != nullptr && !counted) {
            counted_.emplace_back(box);
            texts_.push_back(box->windowTitle().toStdString() + ": " + box->text().toStdString());
            if (onBox_) onBox_(box->text().toStdString());
        }
        return;
    }
    if (clock_.elapsed() >= due_) {
        target_ = nullptr;
        answer(window);
    }
}

void BoxCloser::answer(QWidget* window) {
    if (auto* menu = qobject_cast<QMenu*>(window)) {
        std::vector<QAction*> items;
        for (QAction* item : menu->actions()) {
            if (!item->isSeparator() && item->isEnabled()) items.push_back(item);
        }
        if (items.empty() || random_() % 5 == 0) {
            menu->close();
            return;
        }
        menu->setActiveAction(items[random_() % items.size()]);
        QTest::keyClick(menu, Qt::Key_Return);
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        const QList<QAbstractButton*> buttons = box->buttons();
        if (buttons.isEmpty()) {
            box->reject();
        } else {
            buttons[static_cast<qsizetype>(random_() % buttons.size())]->click();
        }
        return;
    }
    if (auto* select = qobject_cast<CSelect*>(window)) {
        // CLOSE and OK closes the link; the soak opens it again through the
        // in-process camera, which the setup dialog cannot reach.
        if (random_() % 2 == 0) {
            if (auto* close = qobject_cast<QAbstractButton*>(select->control(CSelect::IdClose))) {
                close->click();
            }
            if (auto* ok = qobject_cast<QAbstractButton*>(select->control(CSelect::IdOk))) {
                ok->click();
                return;
            }
        }
        select->reject();
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->reject();
        return;
    }
    window->close();
}

}  // namespace zr::test
