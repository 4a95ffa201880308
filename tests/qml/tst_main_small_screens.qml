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

    // The window's own size on such screens is checked from outside, with a
    // window manager (tests/system/test_main_window_size.py).
    function test_everyPanelControlIsReachable() {
        verify(Screen.desktopAvailableHeight < 800, "the screen is not small")
        var window = Helpers.createWindow(testCase)

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
        // A press on a panel still moving only stops it; the button would not see it.
        tryCompare(panel.contentItem, "moving", false, 5000, "the panel to stop scrolling")
        verify(inView(panel, page.printButton), "Print scrolled out of view again")
        verify(inView(panel, page.saveButton), "Save as cannot be scrolled into view")
        printSpy.target = window
        mouseClick(page.printButton)
        tryCompare(printSpy, "count", 1)
    }
}
