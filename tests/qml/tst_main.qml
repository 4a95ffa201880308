import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.2
import Qt.labs.platform 1.1 as Platform
import "tst_main_helpers.js" as Helpers

TestCase {
    id: testCase
    name: "MainWindow"
    when: windowShown
    width: 200
    height: 100

    readonly property var expectedMenus: [
        "File: Open Image | - | Save as | Print | - | Quit",
        "Edit: Undo | Redo | - | Paste image | - | Clear measures",
        "Measures: Color | Calibrate | Add | Add angle | Fit circle | Remove Last | Reset",
        "View: Hide toolbar | - | Zoom in | Zoom out | Fit to window | Actual pixels",
        "Help: Contents | - | About Orvalith"
    ]

    // Copies text to the system clipboard, as another program would.
    TextInput {
        id: clipboardSource
        visible: false
    }

    SignalSpy {
        id: printSpy
        signalName: "printImageRequested"
    }

    function copyToClipboard(text) {
        clipboardSource.text = text
        clipboardSource.selectAll()
        clipboardSource.copy()
    }

    // A small picture written into the test's own home folder.
    function writePicture(name) {
        var done = false
        var saved = false
        var path = Platform.StandardPaths.writableLocation(Platform.StandardPaths.HomeLocation)
        path = Helpers.localPath(path) + "/" + name
        picture.grabToImage(function (result) {
            saved = result.saveToFile(path)
            done = true
        })
        tryVerify(function () { return done })
        verify(saved, "could not write " + path)
        return path
    }

    Rectangle {
        id: picture
        width: 64
        height: 48
        color: "#2060a0"
    }

    function cleanup() {
        printSpy.clear()
    }

    function test_windowAndContent() {
        var window = Helpers.createWindow(testCase)
        compare(window.width, 1024)
        compare(window.height, 800)
        compare(window.minimumWidth, 1024)
        compare(window.minimumHeight, 800)
        compare(window.title, "")
        var page = Helpers.findObject(window, "busyRectangle")
        verify(page !== null)
        compare(page.visible, false)
        compare(page.width, window.contentItem.width)
        compare(page.height, window.contentItem.height)
        compare(Qt.colorEqual(page.color, Qt.rgba(0, 0, 0, 0.85)), true)
        compare(Helpers.findObject(window, "busyIndicator").running, false)

        // At this size the whole tool panel is in view, under the in-window menu bar.
        var panel = Helpers.findObject(window, "mainPage").scrollView
        var print = Helpers.findObject(window, "mainPage").printButton
        compare(panel.height, window.contentItem.height)
        verify(print.mapToItem(panel, 0, 0).y + print.height <= panel.height - panel.bottomPadding,
               "Print is below the panel's visible part")
    }

    // Nothing moves on screen after start-up, so drawing stops once the frames asked
    // for at start-up are out: a hidden animation would keep the window redrawing, and
    // the processor busy, so that no second without a frame would ever come.
    function test_idleWindowDrawsNoFrames() {
        var window = Helpers.createWindow(testCase)
        var frames = createTemporaryObject(signalSpy, testCase, { "target": window, "signalName": "frameSwapped" })
        var quietSecond = false
        for (var second = 0; second < 30 && !quietSecond; ++second) {
            frames.clear()
            wait(1000)
            quietSecond = frames.count === 0
        }
        verify(quietSecond, "no second without a frame came in 30 s")
    }

    // Without a global menu service, the menus are inside the window, once.
    function test_inWindowMenus() {
        var window = Helpers.createWindow(testCase)
        compare(window.nativeMenuBar, false)
        compare(Helpers.nativeMenus(window).length, 0)
        var menus = Helpers.windowMenus(window)
        compare(Helpers.describe(menus), expectedMenus)
        verify(window.menuBar.height > 0)

        // The page fills the content area under the bar.
        var page = Helpers.findObject(window, "mainPage")
        compare(page.y, 0)
        compare(page.height, window.contentItem.height)
        compare(window.contentItem.height, window.height - window.menuBar.height)

        // Each entry with a key shows it (tst_main_es checks that none is cut off).
        var keys = {}
        menus.forEach(function (menu) {
            menu.entries.forEach(function (entry) {
                var label = entry.separator ? null : findChild(entry.item, "keysLabel")
                if (label && label.text !== "")
                    keys[entry.text] = label.text
            })
        })
        compare(keys, { "Open Image": "Ctrl+O", "Save as": "Ctrl+S", "Print": "Ctrl+P",
                    "Paste image": "Ctrl+V", "Calibrate": "Ctrl+Shift+K",
                    "Add": "Ctrl+Shift+M", "Contents": "F1", "Undo": "Ctrl+Z",
                    "Redo": "Ctrl+Shift+Z", "Zoom in": "Ctrl++", "Zoom out": "Ctrl+-",
                    "Fit to window": "Ctrl+0", "Actual pixels": "Ctrl+1" })

        compare(Helpers.action(window, "Open Image").shortcut, StandardKey.Open)
        compare(Helpers.action(window, "Print").shortcut, StandardKey.Print)
        compare(Helpers.action(window, "Paste image").shortcut, StandardKey.Paste)
        compare(Helpers.action(window, "Contents").shortcut, StandardKey.HelpContents)
        compare(Helpers.action(window, "Save as").shortcut, StandardKey.Save)
        compare(Helpers.action(window, "Zoom in").shortcut, StandardKey.ZoomIn)
        compare(Helpers.action(window, "Zoom out").shortcut, StandardKey.ZoomOut)
        var keyed = ["Open Image", "Save as", "Print", "Paste image", "Calibrate", "Add", "Contents",
                     "Undo", "Redo", "Zoom in", "Zoom out", "Fit to window", "Actual pixels"]
        for (var m = 0; m < window.menus.length; ++m) {
            window.menus[m].entries.forEach(function (action) {
                if (action && keyed.indexOf(action.text) < 0)
                    compare(action.shortcut, undefined, action.text + " has a shortcut")
                if (action)
                    compare(action.checkable, false)
            })
        }
        keySequence("Ctrl+Shift+K")
        tryCompare(page, "calibrating", true)
        page.resetMeasures()
    }

    // Where the platform has a bar of its own, the same entries go there and
    // nothing is drawn in the window; the keys still act exactly once.
    function test_platformMenus() {
        var window = Helpers.createWindow(testCase, { "nativeMenuBar": true })
        compare(window.menuBar.item, null)
        compare(window.menuBar.height, 0)
        var menus = Helpers.nativeMenus(window)
        compare(Helpers.describe(menus), expectedMenus)
        menus.forEach(function (menu) {
            menu.entries.forEach(function (entry) {
                compare(entry.item.shortcut, undefined, entry.text + " registers its key a second time")
            })
        })

        // Enabled states follow the actions; nothing has been copied here.
        compare(Helpers.entry(menus, "Add").enabled, false)
        tryCompare(Helpers.entry(menus, "Paste image"), "enabled", false)
        Helpers.findObject(window, "clipboard").imageUrlChanged(true)
        compare(Helpers.entry(Helpers.nativeMenus(window), "Paste image").enabled, true)
        Helpers.findObject(window, "clipboard").clear()
        compare(Helpers.entry(Helpers.nativeMenus(window), "Paste image").enabled, false)

        // Choosing an entry runs its action.
        Helpers.entry(menus, "Hide toolbar").item.triggered()
        compare(window.menus[3].entries[0].text, "Show toolbar")
        compare(Helpers.entry(Helpers.nativeMenus(window), "Show toolbar") !== null, true)

        printSpy.target = window
        keyClick(Qt.Key_P, Qt.ControlModifier)
        tryCompare(printSpy, "count", 1)
        Helpers.waitForEarlierGrabs(testCase, window)
        compare(printSpy.count, 1)
    }

    function test_shortcuts() {
        var window = Helpers.createWindow(testCase)
        var page = Helpers.findObject(window, "mainPage")
        printSpy.target = window

        // Print first: the open dialog, a window of its own, takes the focus
        // when it shows, and on a busy machine it may show only after it has been
        // hidden again and the main window activated.
        keyClick(Qt.Key_P, Qt.ControlModifier)
        tryCompare(printSpy, "count", 1, 15000, "Ctrl+P to deliver a captured composite")

        // A disabled entry's key does nothing.
        var paste = Helpers.action(window, "Paste image")
        var pasteSpy = createTemporaryObject(signalSpy, testCase, { "target": paste, "signalName": "triggered" })
        Helpers.findObject(window, "clipboard").clear()
        keyClick(Qt.Key_V, Qt.ControlModifier)
        compare(pasteSpy.count, 0)

        // No test starts a browser (see CMakeLists.txt), and no program handles
        // this scheme: the system cannot show the address, and the window says
        // where the help is instead.
        var address = "orvalith-unhandled:help"
        window.helpSiteUrl = address
        keyClick(Qt.Key_F1)
        var message = null
        tryVerify(function () {
            message = Helpers.findObject(window, "helpUnavailableDialog")
            return message !== null && message.opened
        }, 10000, "the message that the help cannot be shown")
        verify(findText(message.contentItem, "No web browser could be opened here; the help is at " + address)
               !== null, "the message does not give the address")
        message.close()

        keyClick(Qt.Key_O, Qt.ControlModifier)
        tryCompare(page, "openImageDialogVisible", true)
        page.openImageDialogVisible = false
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }

    function test_viewEntry() {
        var window = Helpers.createWindow(testCase)
        var page = Helpers.findObject(window, "mainPage")
        var view = Helpers.action(window, "Hide toolbar")
        compare(page.state, "")
        view.trigger()
        compare(page.state, "toolbarHidden")
        compare(view.text, "Show toolbar")
        compare(Helpers.describe(Helpers.windowMenus(window))[3], "View: Show toolbar | - | Zoom in | Zoom out | Fit to window | Actual pixels")
        tryVerify(function () { return page.scrollView.x >= page.width }, 2000, "the tool panel stays in view")
        view.trigger()
        compare(page.state, "")
        compare(view.text, "Hide toolbar")
        tryVerify(function () { return page.scrollView.x + page.scrollView.width <= page.width }, 2000,
                  "the tool panel does not come back")
    }

    // Chosen through the menu bar with the mouse, as a user would.
    function test_about() {
        var window = Helpers.createWindow(testCase)
        // Opened for the first time by the mouse, the menu makes its entries.
        var help = window.menuBar.item.menus[4]
        mouseClick(window.menuBar.item.itemAt(4))
        tryCompare(help, "opened", true)
        compare(help.count, 3)
        waitForItemPolished(help.contentItem)
        var entriesHeight = help.itemAt(0).height + help.itemAt(1).height + help.itemAt(2).height
        verify(help.height >= entriesHeight, "the menu is shorter than its entries: " + help.height)
        var aboutItem = Helpers.entry(Helpers.windowMenus(window), "About Orvalith").item
        mouseClick(aboutItem)
        var about = Helpers.findObject(window, "about")
        tryCompare(about, "opened", true)
        compare(about.width, 640)
        compare(about.height, 480)
        compare(about.x, Math.round((window.contentItem.width - 640) / 2))
        compare(about.y, Math.round((window.contentItem.height - 480) / 2))
        compare(about.title, "")
        verify(findText(about.contentItem, "Orvalith 3.3.1") !== null, "no name and version line")

        // Keys and clicks are handled as they come: a popup they closed would no
        // longer be opened at once.
        keyClick(Qt.Key_Escape)
        mouseClick(window.contentItem, 5, 5)
        compare(about.opened, true)

        var close = about.standardButton(Dialog.Close)
        verify(close !== null)
        mouseClick(close)
        tryCompare(about, "visible", false)
    }

    function findText(item, text) {
        if (item.text === text)
            return item
        for (var i = 0; i < item.children.length; ++i) {
            var found = findText(item.children[i], text)
            if (found)
                return found
        }
        return null
    }

    // Pressing and releasing at a point of the overlay, as a user would.
    function clickCanvas(page, fx, fy) {
        mouseClick(page.canvas, page.canvas.width * fx, page.canvas.height * fy)
    }

    function enabledStates(window) {
        return ["Color", "Calibrate", "Add", "Remove Last", "Reset"].map(function (text) {
            return Helpers.entry(Helpers.windowMenus(window), text).enabled
        })
    }

    function findAcceptButton(item) {
        if (item.text === "Accept" && item.clicked !== undefined && item.visible)
            return item
        var children = item.children
        for (var i = 0; i < children.length; ++i) {
            var found = findAcceptButton(children[i])
            if (found)
                return found
        }
        return null
    }

    // Edit names the step to undo or redo and is greyed without one; Ctrl+Z undoes,
    // Ctrl+Y and Ctrl+Shift+Z redo.
    function test_undoRedoKeys() {
        var window = Helpers.createWindow(testCase)
        var page = Helpers.findObject(window, "mainPage")
        var undo = Helpers.action(window, "Undo")
        var redo = Helpers.action(window, "Redo")
        verify(!undo.enabled && !redo.enabled)
        page.document.calibrate(Qt.point(0.1, 0.5), Qt.point(0.5, 0.5), 10, "mm")
        compare(undo.text, "Undo Calibrate")
        page.addMeasure()
        clickCanvas(page, 0.3, 0.3)
        clickCanvas(page, 0.5, 0.6)
        compare(undo.text, "Undo Add measure")
        verify(undo.enabled && page.hasMeasures)

        keySequence("Ctrl+Z")
        verify(!page.hasMeasures && page.calibrated)
        compare(redo.text, "Redo Add measure")
        keySequence("Ctrl+Y")
        verify(page.hasMeasures)
        keySequence("Ctrl+Z")
        keySequence("Ctrl+Z")
        verify(!page.calibrated && !undo.enabled)
        compare(undo.text, "Undo")
        keySequence("Ctrl+Shift+Z")
        keySequence("Ctrl+Shift+Z")
        verify(page.calibrated && page.hasMeasures && !redo.enabled)
    }

    function test_measuresEntries() {
        var window = Helpers.createWindow(testCase)
        var page = Helpers.findObject(window, "mainPage")
        compare(enabledStates(window), [true, true, false, false, false])

        Helpers.action(window, "Calibrate").trigger()
        compare(page.calibrating, true)
        compare(enabledStates(window), [true, false, false, false, true])

        clickCanvas(page, 0.2, 0.5)
        clickCanvas(page, 0.6, 0.5)
        var popup = Helpers.findObject(window, "calibrationPopup")
        tryCompare(popup, "opened", true)
        var accept = findAcceptButton(popup.contentItem)
        verify(accept !== null, "no Accept button in the calibration popup")
        mouseClick(accept)
        tryCompare(page, "calibrated", true)
        tryCompare(popup, "visible", false) // it takes the clicks while it sinks away
        compare(enabledStates(window), [true, false, true, false, true])

        Helpers.action(window, "Add").trigger()
        compare(page.measuring, true)
        // The new measure counts before its points are placed.
        compare(enabledStates(window), [true, false, false, true, true])
        clickCanvas(page, 0.3, 0.3)
        clickCanvas(page, 0.5, 0.6)
        compare(page.measuring, false)
        compare(enabledStates(window), [true, false, true, true, true])

        Helpers.action(window, "Remove Last").trigger()
        compare(page.hasMeasures, false)
        compare(enabledStates(window), [true, false, true, false, true])

        Helpers.action(window, "Add").trigger()
        Helpers.action(window, "Reset").trigger()
        compare(enabledStates(window), [true, true, false, false, false])
    }

    // What was copied before the window opened is offered at once, and a paste
    // leaves it on offer.
    function test_paste() {
        var first = writePicture("paste-first.png")
        copyToClipboard(first)
        var window = Helpers.createWindow(testCase)
        var page = Helpers.findObject(window, "mainPage")
        var paste = Helpers.action(window, "Paste image")
        var clipboard = Helpers.findObject(window, "clipboard")
        tryCompare(paste, "enabled", true)
        keyClick(Qt.Key_V, Qt.ControlModifier)
        tryCompare(page.image, "sourceSize", Qt.size(64, 48))
        verify(paste.enabled, "the clipboard still offers the picture")
        page.image.source = ""
        keyClick(Qt.Key_V, Qt.ControlModifier)
        tryCompare(page.image, "sourceSize", Qt.size(64, 48))

        // The entry follows the clipboard's reports alone.
        clipboard.imageUrlChanged(false)
        compare(paste.enabled, false)
        var shown = page.image.source
        paste.trigger()
        compare(page.image.source, shown)
        clipboard.imageUrlChanged(true)
        compare(paste.enabled, true)

        // Windows' "Copy as path" puts the path in double quotes.
        picture.width = 70
        var second = writePicture("paste-second.png")
        picture.width = 64
        copyToClipboard("\"" + second + "\"")
        keyClick(Qt.Key_V, Qt.ControlModifier)
        tryCompare(page.image, "sourceSize", Qt.size(70, 48))

        // Words copied afterwards turn the entry off.
        copyToClipboard("just words")
        tryCompare(paste, "enabled", false, 5000, "words on the clipboard to turn Paste image off")
    }
}
