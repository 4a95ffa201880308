import QtQuick 2.15

// The page's status line. A text that asks for a click stays until it is answered;
// any other goes after a few seconds. The label lies over the picture on screen only:
// the page hides it for a capture, so that no status text goes into the composite.
QtObject {
    id: status

    property Item label: null
    // How long a text that asks for nothing stays, in milliseconds.
    property int lingering: 4000

    function show(text, asksForClick) {
        fading.stop()
        label.opacity = 1
        label.text = text
        if (text !== "" && !asksForClick)
            waiting.restart()
        else
            waiting.stop()
    }

    function clear() {
        show("", false)
    }

    property Timer waiting: Timer {
        interval: status.lingering
        onTriggered: fading.start()
    }

    property NumberAnimation fading: NumberAnimation {
        target: status.label
        property: "opacity"
        to: 0
        duration: 600
        onFinished: {
            status.label.text = ""
            status.label.opacity = 1
        }
    }
}
