import QtQuick 2.15
import QtTest 1.2
import Qt.labs.platform 1.1 as Platform
import Qt.labs.settings 1.0
import "qrc:/"
import "pagetest.js" as PageTest

// Pictures reach the page through its open dialog and by real drag and drop (a system
// drag of file URLs, carried by the X server); unreadable files leave no half state.
// A picture is read away from the window: the page shows it once it is decoded, so
// the tests wait for its size.
Item {
    id: root
    width: 1100
    height: 850

    Component {
        id: pageComponent
        MainPage {}
    }

    SignalSpy {
        id: overlaySpy
        signalName: "visibleChanged"
    }

    // A source of real drags: its MIME data carries the URLs as a file manager would.
    Component {
        id: dragSourceComponent
        Rectangle {
            property var uris: []
            property int actions: Qt.CopyAction
            property int finishedAction: -1
            width: 40
            height: 40
            color: "grey"
            Drag.dragType: Drag.Automatic
            Drag.active: dragHandle.drag.active
            Drag.supportedActions: actions
            Drag.mimeData: { "text/uri-list": uris.join("\r\n") + "\r\n" }
            Drag.onDragFinished: finishedAction = dropAction
            MouseArea {
                id: dragHandle
                anchors.fill: parent
                drag.target: parent
            }
        }
    }

    // The system drag runs a loop of its own until the button is released, so the
    // pointer is moved and released from a timer that fires inside that loop.
    Timer {
        id: dragDriver
        property point from
        property point to
        property int step: 0
        readonly property int steps: 12
        interval: 15
        repeat: true
        onTriggered: {
            step += 1
            var x = from.x + (to.x - from.x) * Math.min(step, steps) / steps
            var y = from.y + (to.y - from.y) * Math.min(step, steps) / steps
            if (step <= steps) {
                testCase.mouseMove(root, x, y, -1, Qt.LeftButton)
            } else {
                testCase.mouseRelease(root, x, y)
                stop()
            }
        }
    }

    Settings {
        id: store
        category: "MainPage"
    }

    TestCase {
        id: testCase
        name: "PageLoading"
        when: windowShown

        property var page: null
        property var dialog: null
        property var errorPopup: null

        function createPage() {
            page = createTemporaryObject(pageComponent, root, { "width": 950, "height": 800 })
            verify(page)
            dialog = findChild(page, "openImageDialog")
            errorPopup = findChild(page, "loadErrorPopup")
            verify(dialog && errorPopup)
            waitForRendering(page)
        }

        function init() {
            createPage()
        }

        function documentsFolder() {
            return Platform.StandardPaths.writableLocation(Platform.StandardPaths.DocumentsLocation)
        }

        // Drags the URLs from outside the page and drops them at (x, y) of target.
        function dragAndDrop(uris, actions, target, x, y) {
            var source = createTemporaryObject(dragSourceComponent, root, {
                                                   "uris": uris, "actions": actions,
                                                   "x": root.width - 60, "y": 20 })
            dragDriver.from = Qt.point(root.width - 10, 60)
            dragDriver.to = target.mapToItem(root, x, y)
            dragDriver.step = 0
            mousePress(source, 20, 20)
            dragDriver.start()
            for (var i = 1; i <= 4 && !source.Drag.active && source.finishedAction < 0; ++i)
                mouseMove(root, root.width - 40 - 8 * i, 40 + 5 * i, -1, Qt.LeftButton)
            tryVerify(function () { return !dragDriver.running && source.finishedAction >= 0 })
            var action = source.finishedAction
            // Its mouse area never saw the release (the system drag took it): it goes.
            source.destroy()
            wait(0)
            return action
        }

        function dropAt(uris) {
            return dragAndDrop(uris, Qt.CopyAction, page.containerRectangle, 400, 400)
        }

        function chooseInDialog(url) {
            mouseClick(page.openImageButton)
            verify(dialog.visible)
            dialog.clearSelection()
            dialog.addSelection(url)
            dialog.accept()
            verify(!dialog.visible)
        }

        // Each readable picture has a size of its own, which tells which file was read.
        function test_dropRule_data() {
            var url = PageTest.pictureUrl
            return [
                { tag: "upper-case PNG", uris: [url("scan.PNG")], loads: Qt.size(300, 200) },
                { tag: "mixed-case Jpeg", uris: [url("eye.Jpeg")], loads: Qt.size(200, 300) },
                { tag: "TIFF", uris: [url("eye.tif")], loads: null },
                { tag: "text", uris: [url("notes.txt")], loads: null },
                { tag: "name ending in a full stop", uris: [url("name.")], loads: null },
                { tag: "picture first", uris: [url("small-100x50.png"), url("notes.txt")],
                  loads: Qt.size(100, 50) },
                { tag: "picture second", uris: [url("notes.txt"), url("small-100x50.png")],
                  loads: null },
                { tag: "# in the name", uris: [url("hash%231.png")], loads: Qt.size(110, 60) },
                { tag: "? in the name", uris: [url("what%3F.png")], loads: Qt.size(112, 60) },
                { tag: "% in the name", uris: [url("a%2520b.png")], loads: Qt.size(114, 60) },
                { tag: "space", uris: [url("a%20b.png")], loads: Qt.size(115, 60) },
                { tag: "accents", uris: [url("ojo%20izquierdo%20%C3%B1and%C3%BA.jpg")],
                  loads: Qt.size(116, 60) },
                { tag: "JPEG named .png", uris: [url("jpeg-named.png")], loads: Qt.size(40, 30) }
            ].filter(function (row) {
                // Windows refuses "?" in a file name: no such picture can be made there.
                return Qt.platform.os !== "windows" || row.tag !== "? in the name"
            })
        }

        function test_dropRule(data) {
            var action = dropAt(data.uris)
            compare(action, data.loads ? Qt.CopyAction : Qt.IgnoreAction)
            if (data.loads)
                tryCompare(page.image, "sourceSize", data.loads)
            else
                compare(page.image.source.toString(), "")
        }

        function test_dropOnTheToolPanelAndMoveOnly() {
            var url = PageTest.pictureUrl("eye.Jpeg")
            compare(dragAndDrop([url], Qt.MoveAction, page.containerRectangle, 400, 400),
                    Qt.IgnoreAction)
            compare(page.image.source.toString(), "", "only a copy is taken")
            compare(dragAndDrop([url], Qt.CopyAction, page.scrollView, 75, 300), Qt.CopyAction)
            tryCompare(page.image, "sourceSize", Qt.size(200, 300))
            compare(page.drawingRectangle.width, 800 * 200 / 300)
        }

        function test_openDialog() {
            compare(dialog.title, "Pick an image")
            compare(dialog.nameFilters, ["Image files (*.jpg *.jpeg *.png)"])
            verify(!dialog.selectMultiple)
            compare(dialog.folder.toString(), documentsFolder().toString())

            var url = PageTest.pictureUrl("wide-2000x1000.jpg")
            chooseInDialog(url)
            tryCompare(page.image, "sourceSize", Qt.size(2000, 1000))
            compare(page.drawingRectangle.height, 400)
            var shown = page.image.source

            // Opened again from the window's menu, then cancelled: nothing changes.
            page.openImageDialogVisible = true
            verify(dialog.visible)
            dialog.reject()
            verify(!dialog.visible && !page.openImageDialogVisible)
            compare(page.image.source, shown)

            page.destroy()
            wait(0)
            compare(store.value("openImageDialogFolder").toString(), PageTest.picturesFolder())
            createPage()
            compare(dialog.folder.toString(), PageTest.picturesFolder())
        }

        // Checking the remembered folder leaves no watch on it (on Windows a watched
        // folder cannot be renamed). No dialog here ever shows this one.
        function test_checkedFolderNotWatched() {
            // Wine watches folders from its server process, not from this one, and
            // lets a watched folder be renamed: only a real Windows could tell.
            if (Qt.platform.os === "windows")
                skip("folder watches are not seen from the process under Wine")
            var folder = PageTest.pictureUrl("folder.png")
            page.destroy()
            wait(0)
            store.setValue("openImageDialogFolder", folder)
            var watched = PageTest.watchedFolders()
            createPage()
            compare(dialog.folder.toString(), folder)
            tryVerify(function () {
                return PageTest.watchedFolders().every(function (w) { return watched.indexOf(w) >= 0 })
            }, 5000, "the watch on the checked folder to be let go")
            store.setValue("openImageDialogFolder", documentsFolder())
        }

        // A file at a drive's root leaves the root itself, not the drive's current folder.
        function test_folderOfChosenFile_data() {
            return [
                { tag: "drive root", file: "file:///C:/eye.jpg", folder: "file:///C:/" },
                { tag: "file system root", file: "file:///eye.jpg", folder: "file:///" },
                { tag: "folder", file: "file:///C:/scans/eye.jpg", folder: "file:///C:/scans" }
            ]
        }

        function test_folderOfChosenFile(data) {
            compare(findChild(page, "dialogFolders").folderOfFile(data.file), data.folder)
        }

        // A remembered folder that has gone, or a stored value that is no folder at all.
        function test_rememberedFolderGone_data() {
            return [
                { tag: "deleted folder", stored: "file:///no/such/folder" },
                { tag: "a file", stored: PageTest.pictureUrl("scan.PNG") },
                { tag: "not a URL", stored: "banana" }
            ]
        }

        function test_rememberedFolderGone(data) {
            page.destroy()
            wait(0)
            store.setValue("openImageDialogFolder", data.stored)
            createPage()
            compare(dialog.folder.toString(), documentsFolder().toString())
            mouseClick(page.openImageButton)
            verify(dialog.visible)
            dialog.reject()
        }

        // Stored sideways with an EXIF quarter turn: shown upright, measured upright.
        // A composite saved here is named as one when it is opened; a photo is not.
        function test_savedCompositeNamed() {
            page.openPicture(PageTest.pictureUrl("saved-composite.png"))
            tryCompare(page.image, "status", Image.Ready)
            tryVerify(function () { return page.messageLabel.text.indexOf("saved composite") > 0 },
                      5000, "no word of the overlay it carries")
            page.messageLabel.text = ""
            page.openPicture(PageTest.pictureUrl("scan.PNG"))
            tryVerify(function () { return page.image.source.toString() !== "" && page.image.status === Image.Ready
                                    && page.measuresList.picture.toString().indexOf("scan") > 0 })
            compare(page.messageLabel.text, "")
        }

        function test_exifOrientation() {
            page.image.source = PageTest.pictureUrl("upright-by-exif.jpg")
            compare(page.image.status, Image.Ready)
            compare(page.image.sourceSize.width, 40)
            compare(page.image.sourceSize.height, 80)
            compare(page.drawingRectangle.width, 400)
            compare(page.drawingRectangle.height, 800)
            page.canvas.visible = false
            tryVerify(function () { return page.picturePreview.drawn }, 10000)
            var shot = grabImage(page.drawingRectangle)
            verify(PageTest.near(shot.pixel(200, 100), Qt.rgba(1, 0, 0, 1), 0.1), "top is red")
            verify(PageTest.near(shot.pixel(200, 700), Qt.rgba(0, 0, 1, 1), 0.1), "bottom is blue")
        }

        // The overlay is told to come at once: whether a reading outlasts the usual
        // moment depends on the machine, and here it may show for a few milliseconds only.
        function test_photoSizedPicture() {
            var url = PageTest.pictureUrl("photo-6000x4000.jpg")
            var overlay = findChild(page, "pictureLoadingOverlay")
            findChild(page, "pictureIntake").slowAfter = 0
            overlaySpy.target = overlay
            overlaySpy.clear()
            chooseInDialog(url)
            tryCompare(page.image, "sourceSize", Qt.size(6000, 4000))
            compare(overlaySpy.count, 2, "the image area is covered while the picture is read")
            compare(page.image.status, Image.Ready)
            verify(!overlay.visible)
            compare(page.drawingRectangle.width, 800)
            fuzzyCompare(page.drawingRectangle.height, 800 * 4000 / 6000, 1e-9)
        }

        // The dialog offers only files that exist; a file deleted meanwhile or a folder
        // named like a picture still comes by drag and drop.
        function test_unreadablePicture_data() {
            return [
                { tag: "missing file", name: "missing.png", dropped: true },
                { tag: "zero bytes", name: "empty.png", dropped: false },
                { tag: "text renamed .png", name: "notes-renamed.png", dropped: false },
                { tag: "JPEG cut in its header", name: "cut-in-header.jpg", dropped: false },
                { tag: "folder", name: "folder.png", dropped: true },
                { tag: "SVG named .png", name: "svg-named.png", dropped: true },
                { tag: "PNG cut in its rows", name: "cut-in-rows.png", dropped: false },
                { tag: "web address", url: "http://127.0.0.1:9/eye.png", dropped: true },
                { tag: "JPEG declaring 65000 x 65000", name: "declares-65000x65000.jpg",
                  dropped: true, tooLarge: true },
                { tag: "PNG declaring 20000 x 15000", name: "declares-20000x15000.png",
                  dropped: false, tooLarge: true },
                { tag: "PNG declaring 256 megapixels", name: "declares-16000x16000.png",
                  dropped: true, tooLarge: true }
            ]
        }

        function test_unreadablePicture(data) {
            var good = PageTest.pictureUrl("landscape-800x400.png")
            chooseInDialog(good)
            tryCompare(page.image, "sourceSize", Qt.size(800, 400))
            var shown = page.image.source
            page.circleX = 0.3

            var url = data.url || PageTest.pictureUrl(data.name)
            if (data.dropped)
                dropAt([url])
            else
                chooseInDialog(url)
            tryCompare(errorPopup, "visible", true)
            var limit = /at most (\d+) pixels wide and high, and 250 megapixels in all\.$/
            var label = findChild(errorPopup.contentItem.parent, "loadErrorLabel")
            if (data.tooLarge)
                verify(limit.test(label.text) && Number(limit.exec(label.text)[1]) >= 4096,
                       label.text)
            else
                compare(label.text, "The picture could not be opened; choose another JPEG or PNG file.")
            tryCompare(page.image, "status", Image.Ready)
            compare(page.image.source, shown)
            compare(page.drawingRectangle.height, 400)
            compare(page.circleX, 0.3)

            // The next picture can be chosen at once; the message goes with the press.
            mouseClick(page.openImageButton)
            verify(dialog.visible)
            tryCompare(errorPopup, "visible", false)
            dialog.reject()
        }

        // Without an earlier picture the page goes back to showing none.
        function test_unreadableFirstPicture() {
            dropAt([PageTest.pictureUrl("notes-renamed.png")])
            tryCompare(errorPopup, "visible", true)
            tryCompare(page.image, "source", "")
            compare(page.image.status, Image.Null)
            compare(page.drawingRectangle.width, 800)
            compare(page.drawingRectangle.height, 800)

            dropAt([PageTest.pictureUrl("scan.PNG")])
            tryCompare(page.image, "status", Image.Ready)
            tryCompare(errorPopup, "visible", false)
        }

        // A JPEG cut short shows grey where it is missing, and stays at the user's word
        // only; discarded, the picture before it comes back, with its measures.
        function test_incompletePicture() {
            var question = findChild(page, "incompletePictureDialog")
            var store = page.pictureRecord.store
            store.folder = store.folder + "-" + Date.now() // no record of an earlier run
            dropAt([PageTest.pictureUrl("landscape-800x400.png")])
            tryCompare(page.image, "sourceSize", Qt.size(800, 400))
            tryVerify(function () { return store.pictureKey !== "" })
            var before = page.image.source
            page.document.calibrate(Qt.point(0.1, 0.5), Qt.point(0.5, 0.5), 10, "mm")
            page.document.addMeasure("distance", [Qt.point(0.1, 0.1), Qt.point(0.3, 0.1)])

            dropAt([PageTest.pictureUrl("cut-in-scan.jpg")])
            tryCompare(question, "opened", true)
            compare(page.image.sourceSize, Qt.size(400, 300))
            compare(findChild(question.contentItem.parent, "incompletePictureLabel").text,
                    "This picture is incomplete: the part of it that is missing shows grey.")
            mouseClick(findChild(question.footer, "dropIncompleteButton"))
            tryCompare(question, "visible", false)
            compare(page.image.source, before)
            compare(page.image.sourceSize, Qt.size(800, 400))
            tryVerify(function () { return page.calibrated && page.document.measures.count === 1 })

            dropAt([PageTest.pictureUrl("cut-in-scan.jpg")])
            tryCompare(question, "opened", true)
            mouseClick(findChild(question.footer, "keepIncompleteButton"))
            tryCompare(question, "visible", false)
            compare(page.image.sourceSize, Qt.size(400, 300))
        }
    }
}
