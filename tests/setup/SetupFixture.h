#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "panel/CZR_K880TM_ControlDlg.h"
#include "support/RecordingSink.h"

// Every setup test runs against its own profile folder and port folder, with
// the simulated Camera Link library as the common library. COM 1 to COM 10
// are hidden until a simulated camera takes one of them, so the machine's own
// serial ports never leak in.
class SetupFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the simulated camera program on COMn; returns the terminal's path.
    QString startCamera(int port);
    // Command texts the camera on COMn has received so far.
    QStringList cameraLog(int port) const;
    void writeProfile(const QVariant& comPort);
    QVariant readProfile() const;

    QTemporaryDir dir;
    zr::test::RecordingSink sink;
    std::unique_ptr<CZR_K880TM_ControlDlg> panel;
    std::vector<std::unique_ptr<QProcess>> cameras;
};

// Runs `action` on the next modal dialog of type T once it is up (the caller
// then enters the modal run). Fails the test when none shows up.
template <typename T>
void whenModal(std::function<void(T*)> action) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, action] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            action(dialog);
        } else if (++*tries > 1000) {
            poll->deleteLater();
            poll->stop();
            ADD_FAILURE() << "no modal " << T::staticMetaObject.className();
        }
    });
    poll->start(5);
}
