import QtQuick 2.15

// Moves an enlarged picture with the middle button, or with the left one while Space
// is held: the picture follows the pointer. Lies over the canvas's own pointer area
// and takes only those presses, so that nothing of the overlay is taken meanwhile;
// hover, the wheel and every other press go through to the area below.
MouseArea {
    id: panning

    property var view: null
    // Held by the page's keys.
    property bool spaceHeld: false
    property real lastX: 0
    property real lastY: 0

    acceptedButtons: spaceHeld ? Qt.LeftButton | Qt.MiddleButton : Qt.MiddleButton
    hoverEnabled: false
    // Unset, the area below shows its own cursor.
    cursorShape: pressed ? Qt.ClosedHandCursor
                         : spaceHeld && view !== null && !view.fitted ? Qt.OpenHandCursor
                                                                       : undefined

    // Space pressed (held true) or let go: true when the key was Space, which is then
    // the panning's.
    function holdSpace(event, held) {
        if (event.key !== Qt.Key_Space)
            return false
        if (!event.isAutoRepeat)
            spaceHeld = held
        return true
    }

    onPressed: {
        lastX = mouse.x
        lastY = mouse.y
    }

    onPositionChanged: {
        view.panBy(mouse.x - lastX, mouse.y - lastY)
        lastX = mouse.x
        lastY = mouse.y
    }
}
