#include "panel/PanelMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "panel/PanelControlIds.h"

namespace zr::panel {

PanelMenu::PanelMenu(QWidget* owner) : QObject(owner), menuBar_(new QMenuBar(owner)) {
    // The key names after the tab are only shown: the keys themselves belong
    // to the accelerator table, which sends command ids of its own.
    QMenu* interface = menuBar_->addMenu(QStringLiteral("&Interface"));
    addItem(interface, QStringLiteral("&Read From Camera\tCtrl+R"), ID_READ_FROM_CAMERA);
    addItem(interface, QStringLiteral("&Write To Camera\tCtrl+W"), ID_WRITE_TO_CAMERA);
    addItem(interface, QStringLiteral("&Manual Command\tCtrl+M"), ID_MANUAL_COMMAND);
    interface->addSeparator();
    addItem(interface, QStringLiteral("Seria&l Port...\tCtrl+L "), ID_SERIAL_PORT);
    interface->addSeparator();
    addItem(interface, QStringLiteral("Save Settings to File..."), ID_SAVE_SETTINGS_FILE);
    addItem(interface, QStringLiteral("Load Settings from File..."), ID_LOAD_SETTINGS_FILE);
    addItem(interface, QStringLiteral("Compare with File..."), ID_COMPARE_SETTINGS_FILE);
    addItem(interface, QStringLiteral("Link &Trace..."), ID_LINK_TRACE);

    QMenu* help = menuBar_->addMenu(QStringLiteral("&Help"));
    addItem(help, QStringLiteral("&About ZR-K880TM Control"), ID_APP_ABOUT);

    QMenu* special = menuBar_->addMenu(QStringLiteral("&Special"));
    addItem(special, QStringLiteral("&FACTORY SETTING"), ID_FACTORY_SETTING);
    addItem(special, QStringLiteral("&ALL INITIALIZE"), ID_ALL_INITIALIZE);
}

QAction* PanelMenu::addItem(QMenu* popup, const QString& text, int commandId) {
    QAction* item = popup->addAction(text);
    item->setData(commandId);
    connect(item, &QAction::triggered, this, [this, commandId] { emit command(commandId); });
    return item;
}

QAction* PanelMenu::action(int commandId) const {
    const auto menus = menuBar_->findChildren<QMenu*>();
    for (QMenu* menu : menus) {
        const auto items = menu->actions();
        for (QAction* item : items) {
            if (!item->isSeparator() && item->data().toInt() == commandId) return item;
        }
    }
    return nullptr;
}

bool PanelMenu::removeCommand(int commandId) {
    QAction* item = action(commandId);
    if (item == nullptr) return false;
    const auto menus = menuBar_->findChildren<QMenu*>();
    for (QMenu* menu : menus) menu->removeAction(item);
    delete item;
    return true;
}

}  // namespace zr::panel
