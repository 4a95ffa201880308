import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQml.Models 2.15

// The menus drawn inside the window, where the platform has no menu bar of its
// own: made from a list of {title, entries}, each entry an Action or null for a
// separator. Each entry shows its key, and each menu is as wide as its longest
// entry.
MenuBar {
    id: windowMenuBar

    property var menuList: []

    // The bar forgets that a menu is open only when it closes away from its
    // title. A menu closed under the pointer (Escape, an entry chosen by key)
    // left the bar believing one was open: the next title that the pointer
    // crossed opened, and the click on it closed it again. A title does not
    // count as hovered while its own menu is open.
    delegate: MenuBarItem {
        hoverEnabled: !menu || !menu.visible
    }

    // A menu's entries are made when it is first opened: the window's first
    // frame shows only the titles, and making every entry up front was a tenth
    // of the start-up. The actions, which own the shortcuts, exist from the start.
    function addEntries(menu, entries) {
        entries.forEach(function (entry) {
            if (entry)
                menu.addAction(entry)
            else
                menu.addItem(separator.createObject(menu)) // owned, so never collected
        })
    }

    // The style's fixed width cuts longer texts ("Ocultar barra de herramientas").
    function fitWidth(menu) {
        var widest = 0
        for (var i = 0; i < menu.count; ++i)
            widest = Math.max(widest, menu.itemAt(i).implicitWidth)
        menu.width = Math.max(menu.implicitWidth, widest + menu.leftPadding + menu.rightPadding)
    }

    Instantiator {
        model: windowMenuBar.menuList
        delegate: Menu {
            id: windowMenu
            title: modelData.title
            delegate: KeyedMenuItem {}
            onAboutToShow: {
                if (count === 0)
                    windowMenuBar.addEntries(windowMenu, modelData.entries)
                windowMenuBar.fitWidth(windowMenu)
            }
        }
        onObjectAdded: windowMenuBar.insertMenu(index, object)
        onObjectRemoved: windowMenuBar.removeMenu(object)
    }

    Component {
        id: separator
        MenuSeparator {}
    }

    // An entry that shows its key at the right, as desktop menus do. The key is
    // only shown here: the action owns the shortcut.
    component KeyedMenuItem: MenuItem {
        id: keyedItem
        rightPadding: padding + (keysLabel.text === "" ? 0 : keysLabel.implicitWidth + 32)

        Shortcut {
            id: keys
            enabled: false
            sequence: keyedItem.action && keyedItem.action.shortcut !== undefined
                      ? keyedItem.action.shortcut : ""
        }

        Label {
            id: keysLabel
            objectName: "keysLabel"
            anchors.right: parent.right
            anchors.rightMargin: keyedItem.padding
            anchors.verticalCenter: parent.verticalCenter
            text: keys.nativeText
            color: keyedItem.down || keyedItem.highlighted ? keyedItem.palette.highlightedText
                                                           : keyedItem.palette.text
            font: keyedItem.font
        }
    }
}
