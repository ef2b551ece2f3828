#include "SetupFixture.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <cstdlib>

#include "panel/CZR_K880TM_ControlApp.h"
#include "setup/CSelect.h"

void SetupFixture::SetUp() {
    ASSERT_TRUE(dir.isValid());
    const QString config = dir.filePath("config");
    const QString ports = dir.filePath("ports");
    QDir().mkpath(ports);
    for (int n = 1; n <= 10; ++n) {
        QFile::link(dir.filePath("nothing"), ports + QString("/COM%1").arg(n));
    }
    setenv("XDG_CONFIG_HOME", config.toLocal8Bit().constData(), 1);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    setenv("ZRK880_PORT_DIR", ports.toLocal8Bit().constData(), 1);
    const char* sim = std::getenv("ZR_SIM_DIR");
    ASSERT_NE(sim, nullptr) << "ZR_SIM_DIR names the simulator's build folder";
    setenv("ZRK880_CL_PATH", (std::string(sim) + "/cl").c_str(), 1);
    for (const char* name :
         {"ZR_SIM_CL_PORTS", "ZR_SIM_CL_MANUFACTURERS", "ZR_SIM_CL_PORT_IDS", "ZR_SIM_CL_LOG"}) {
        unsetenv(name);
    }
    panel = std::make_unique<CZR_K880TM_ControlDlg>();
    panel->messages().setSink(sink);
}

void SetupFixture::TearDown() {
    if (panel) panel->link().CloseLink();
    panel.reset();
    for (auto& camera : cameras) {
        camera->terminate();
        camera->waitForFinished(5000);
    }
}

QString SetupFixture::startCamera(int port) {
    auto camera = std::make_unique<QProcess>();
    camera->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    camera->start(QString(std::getenv("ZR_SIM_DIR")) + "/zrk880_camsim",
                  {"--log", dir.filePath(QString("com%1.log").arg(port)), dir.filePath("ports"),
                   QString::number(port)});
    const bool ready = camera->waitForReadyRead(10000);
    EXPECT_TRUE(ready) << "simulated camera did not start";
    const QString tty = QString::fromLocal8Bit(camera->readLine()).trimmed();
    cameras.push_back(std::move(camera));
    return tty;
}

QStringList SetupFixture::cameraLog(int port) const {
    QFile log(dir.filePath(QString("com%1.log").arg(port)));
    if (!log.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(log.readAll()).split('\n', Qt::SkipEmptyParts);
}

void SetupFixture::writeProfile(const QVariant& comPort) {
    QSettings(zr::kProfileOrganisation, zr::kApplicationName).setValue("Recent/ComPort", comPort);
}

QVariant SetupFixture::readProfile() const {
    return QSettings(zr::kProfileOrganisation, zr::kApplicationName).value("Recent/ComPort");
}
