.pragma library

// Shared by the page tests (tst_page_*.qml).

// The build writes the test pictures to <build>/tests/pictures; the test runner is
// <build>/bin/tst_qml, so the folder is found from the runner's own path.
function picturesFolder() {
    var runner = Qt.application.arguments[0]
    return "file://" + runner.substring(0, runner.lastIndexOf("/bin/")) + "/tests/pictures"
}

function pictureUrl(name) {
    return picturesFolder() + "/" + name
}

// Colours read back from the screen pass through JPEG, blending and rounding.
function near(a, b, tolerance) {
    return Math.abs(a.r - b.r) <= tolerance && Math.abs(a.g - b.g) <= tolerance
            && Math.abs(a.b - b.b) <= tolerance && Math.abs(a.a - b.a) <= tolerance
}
