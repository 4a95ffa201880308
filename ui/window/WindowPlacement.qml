import QtQuick 2.15
import QtQuick.Window 2.15
import Orvalith 1.0

// The main window's size, place and maximised state, brought back at the next start
// and kept within the screen the window opens on, title bar and frame included. Only
// the size and place of the window as it stands unmaximised are kept: a maximised
// window comes back maximised over them.
QtObject {
    id: placement

    property Window window: null
    // The window manager's frame: left and right together, top and bottom together,
    // and its left border and top (title bar) alone.
    property int frameWidth: 0
    property int frameHeight: 0
    property int frameLeft: 0
    property int frameTop: 0

    // Nothing is stored until the window has been placed: the sizes it takes while
    // it is made are not the user's.
    property bool placed: false

    property StoredSettings stored: StoredSettings {
        category: "MainWindow"
        property int x: 0
        property int y: 0
        property int width: 0
        property int height: 0
        property bool positioned: false
        property bool maximized: false
    }

    // The screen's corner, and the room it leaves for the window itself once its frame
    // is drawn: from the window's own Screen, whose values the window's size follows.
    property int screenX: 0
    property int screenY: 0
    property int roomWidth: 0
    property int roomHeight: 0

    function clamp(value, low, high) {
        return Math.max(low, Math.min(high, value))
    }

    // The stored size, never below the smallest the window takes nor past the room.
    function width(smallest) {
        return stored.width > 0 ? clamp(stored.width, smallest, Math.max(smallest, roomWidth))
                                : smallest
    }

    function height(smallest) {
        return stored.height > 0 ? clamp(stored.height, smallest,
                                         Math.max(smallest, roomHeight)) : smallest
    }

    // The window's place leaves out its frame, which must be on the screen too.
    function restorePosition() {
        if (!stored.positioned)
            return
        var left = screenX + frameLeft
        var top = screenY + frameTop
        window.x = clamp(stored.x, left, left + Math.max(0, roomWidth - window.width))
        window.y = clamp(stored.y, top, top + Math.max(0, roomHeight - window.height))
    }

    function restoreState() {
        placed = true
        if (stored.maximized)
            window.visibility = Window.Maximized
    }

    function storeGeometry() {
        if (!placed || window.visibility !== Window.Windowed)
            return
        stored.x = window.x
        stored.y = window.y
        stored.width = window.width
        stored.height = window.height
        stored.positioned = true
    }

    // A minimised or hidden window keeps the state it had before.
    function storeState() {
        if (!placed)
            return
        if (window.visibility === Window.Maximized || window.visibility === Window.FullScreen)
            stored.maximized = true
        else if (window.visibility === Window.Windowed)
            stored.maximized = false
    }

    property Connections windowChanges: Connections {
        target: placement.window
        function onXChanged() { placement.storeGeometry() }
        function onYChanged() { placement.storeGeometry() }
        function onWidthChanged() { placement.storeGeometry() }
        function onHeightChanged() { placement.storeGeometry() }
        function onVisibilityChanged() { placement.storeState() }
    }
}
