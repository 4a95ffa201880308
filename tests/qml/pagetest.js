.pragma library

// Shared by the page tests (tst_page_*.qml).

// The build writes the test pictures to <build>/tests/pictures; the test runner is
// <build>/bin/tst_qml, so the folder is found from the runner's own path.
function picturesFolder() {
    // On Windows with backslashes and a drive letter: "C:\\build\\bin\\tst_qml.exe".
    var runner = Qt.application.arguments[0].replace(/\\/g, "/")
    var build = runner.substring(0, runner.lastIndexOf("/bin/"))
    return "file://" + (/^[A-Za-z]:/.test(build) ? "/" : "") + build + "/tests/pictures"
}

function pictureUrl(name) {
    return picturesFolder() + "/" + name
}

// Returns once the canvas has no paint pending: a request to paint schedules the
// canvas's polish, in which the paint comes before the next frame.
function waitForPendingPaint(testCase, canvas) {
    testCase.tryVerify(function () { return !testCase.isPolishScheduled(canvas) }, 5000,
                       "the canvas's pending paint")
}

// Colours read back from the screen pass through JPEG, blending and rounding.
function near(a, b, tolerance) {
    return Math.abs(a.r - b.r) <= tolerance && Math.abs(a.g - b.g) <= tolerance
            && Math.abs(a.b - b.b) <= tolerance && Math.abs(a.a - b.a) <= tolerance
}

// The folders this process watches for changes, as the kernel names them (device
// and inode), from the inotify watches listed in /proc/self/fdinfo. Linux only.
function watchedFolders() {
    function read(path) {
        var request = new XMLHttpRequest
        request.open("GET", "file://" + path, false)
        request.send()
        return request.responseText
    }
    var tableSize = Number(/FDSize:\s*(\d+)/.exec(read("/proc/self/status"))[1])
    var folders = []
    for (var fd = 0; fd < tableSize; ++fd) {
        var watches = read("/proc/self/fdinfo/" + fd).match(/^inotify .*$/mg) || []
        folders = folders.concat(watches.map(function (w) { return /ino:\S+ sdev:\S+/.exec(w)[0] }))
    }
    return folders
}
