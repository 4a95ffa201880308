// Shared by the main window's tests: creating the real window from the
// resources and reading back the menus it presents.

// Creates the main window from the resources with the given initial properties,
// shows it and gives it the keyboard focus. It is destroyed after the test
// function that created it.
function createWindow(testCase, properties) {
    var component = Qt.createComponent("qrc:/main.qml")
    testCase.verify(component.status === 1, component.errorString())
    var window = testCase.createTemporaryObject(component, testCase, properties || {})
    testCase.verify(window !== null, "the main window was not created")
    testCase.tryCompare(window, "visible", true)
    window.requestActivate()
    testCase.tryCompare(window, "active", true)
    testCase.waitForRendering(window.contentItem)
    return window
}

// Returns once every grab asked of the window so far has been delivered: grabs come
// back in the order they were asked for, so one asked for now comes back last.
// The page stands in for the window: a grab of its root item is never delivered.
function waitForEarlierGrabs(testCase, window) {
    var delivered = false
    testCase.verify(findObject(window, "mainPage").grabToImage(function () { delivered = true }))
    testCase.tryVerify(function () { return delivered }, 5000, "a grab asked for after the others")
}

// The object with this objectName among the window's declared children and
// their descendants, those made by loaders included (a dialog is made when it
// is first shown).
function findObject(window, name) {
    var pending = [window.contentItem]
    while (pending.length > 0) {
        var object = pending.shift()
        if (object.objectName === name)
            return object
        if (object.data !== undefined) {
            for (var i = 0; i < object.data.length; ++i)
                pending.push(object.data[i])
        }
        if (object.sourceComponent !== undefined && object.item)
            pending.push(object.item)
        if (object.contentItem !== undefined && object.contentItem !== null && object !== window.contentItem
                && pending.indexOf(object.contentItem) < 0)
            pending.push(object.contentItem)
    }
    return null
}

// The menus of the in-window bar as [{title, menu, entries: [{text, enabled, separator, item}]}].
function windowMenus(window) {
    var bar = window.menuBar ? window.menuBar.item : null
    if (!bar)
        return []
    var result = []
    for (var m = 0; m < bar.menus.length; ++m) {
        var menu = bar.menus[m]
        // A menu makes its entries when it is first opened, as a user opens it.
        if (menu.count === 0) {
            menu.open()
            menu.close()
        }
        var entries = []
        for (var i = 0; i < menu.count; ++i) {
            var item = menu.itemAt(i)
            var separator = item.text === undefined
            entries.push({
                "text": separator ? "" : item.text,
                "enabled": separator ? false : item.enabled,
                "separator": separator,
                "item": item
            })
        }
        result.push({ "title": menu.title, "menu": menu, "entries": entries })
    }
    return result
}

// The same for the platform's own bar, when one was made.
function nativeMenus(window) {
    var instantiator = findObject(window, "platformMenuBar")
    var bar = instantiator ? instantiator.object : null
    if (!bar)
        return []
    var result = []
    for (var m = 0; m < bar.menus.length; ++m) {
        var menu = bar.menus[m]
        var entries = []
        for (var i = 0; i < menu.items.length; ++i) {
            var item = menu.items[i]
            entries.push({
                "text": item.separator ? "" : item.text,
                "enabled": item.separator ? false : item.enabled,
                "separator": item.separator,
                "item": item
            })
        }
        result.push({ "title": menu.title, "menu": menu, "entries": entries })
    }
    return result
}

// Menu structure as plain text, e.g. "File: Open Image | - | Save as".
function describe(menus) {
    return menus.map(function (menu) {
        return menu.title + ": " + menu.entries.map(function (entry) {
            return entry.separator ? "-" : entry.text
        }).join(" | ")
    })
}

// The entry with this text in the given presentation.
function entry(menus, text) {
    for (var m = 0; m < menus.length; ++m) {
        for (var i = 0; i < menus[m].entries.length; ++i) {
            if (menus[m].entries[i].text === text)
                return menus[m].entries[i]
        }
    }
    return null
}

// The action behind a menu entry text, whichever presentation is in use.
function action(window, text) {
    for (var m = 0; m < window.menus.length; ++m) {
        var entries = window.menus[m].entries
        for (var i = 0; i < entries.length; ++i) {
            if (entries[i] && entries[i].text === text)
                return entries[i]
        }
    }
    return null
}

// The local path of a file URL: "/home/eye.png" from "file:///home/eye.png", and on
// Windows "C:/eye.png" from "file:///C:/eye.png".
function localPath(url) {
    var path = url.toString().replace(/^file:\/\//, "")
    return /^\/[A-Za-z]:/.test(path) ? path.substring(1) : path
}

// The file URL of a local path, with or without a drive letter.
function fileUrl(path) {
    return "file://" + (/^[A-Za-z]:/.test(path) ? "/" : "") + path
}
