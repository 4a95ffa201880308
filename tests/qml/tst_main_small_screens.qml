import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import QtTest 1.2
import "tst_main_helpers.js" as Helpers

// Runs on X screens smaller than the window's usual 1024 x 800 (see CMakeLists.txt).
TestCase {
    id: testCase
    name: "MainWindowSmallScreen"
    when: windowShown
    width: 200
    height: 100

    SignalSpy {
        id: printSpy
        signalName: "printImageRequested"
    }

    function verticalBar(view) {
        for (var i = 0; i < view.children.length; ++i) {
            var child = view.children[i]
            if (child.policy !== undefined && child.orientation === Qt.Vertical)
                return child
        }
        return null
    }

    // Whether an item lies wholly inside the panel's visible part.
    function inView(panel, item) {
        var top = item.mapToItem(panel, 0, 0).y
        return top >= panel.topPadding && top + item.height <= panel.height - panel.bottomPadding
    }

    function test_windowFitsAndEveryControlIsReachable() {
        var room = Qt.size(Screen.desktopAvailableWidth, Screen.desktopAvailableHeight)
        verify(room.height < 800, "the screen is not small: " + room.height)
        var window = Helpers.createWindow(testCase)
        compare(Qt.size(window.width, window.height), Qt.size(Math.min(1024, room.width), room.height))
        compare(Qt.size(window.minimumWidth, window.minimumHeight), Qt.size(window.width, window.height))
        verify(window.x >= 0 && window.y >= 0 && window.x + window.width <= room.width
               && window.y + window.height <= room.height, "the window leaves the screen")

        // The bar shows exactly when the panel is taller than its room, and
        // covers no control.
        var page = Helpers.findObject(window, "mainPage")
        var panel = page.scrollView
        var bar = verticalBar(panel)
        var column = page.toolsColumnLayout
        compare(bar.visible, column.height > panel.availableHeight)
        if (bar.visible)
            verify(bar.mapToItem(panel, 0, 0).x >= column.mapToItem(panel, 0, 0).x + column.width,
                   "the scroll bar covers the controls")

        // The wheel brings the panel's last controls into view, where a click works.
        for (var turns = 0; turns < 20; ++turns)
            mouseWheel(panel, panel.width / 2, panel.height / 2, 0, -120)
        tryVerify(function () { return inView(panel, page.printButton) }, 5000,
                  "Print cannot be scrolled into view")
        verify(inView(panel, page.saveButton), "Save as cannot be scrolled into view")
        printSpy.target = window
        mouseClick(page.printButton)
        tryCompare(printSpy, "count", 1)
    }
}
