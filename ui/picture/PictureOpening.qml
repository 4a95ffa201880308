import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs 1.3 as Dialogs
import Qt.labs.platform 1.1 as Platform

// Every way a picture comes in: the open dialog, a drop anywhere on the page, and
// open() for paste and the command line; and what happens when one cannot be shown.
// Lies over the whole page; it takes no clicks, only drags.
Item {
    id: opening

    // The image the pictures go to, and the area it is shown in.
    property Image image: null
    property Item imageArea: null
    property var settings: null
    readonly property alias intake: pictureIntake
    property alias dialogVisible: openImageDialog.visible
    // The local file of the picture shown; empty for a pasted one.
    readonly property url shownFile: pictureIntake.shownFile

    // A picture is shown (also one shown again after another could not be).
    signal pictureShown(url source)

    function open(source) {
        pictureIntake.open(source)
    }

    function showDialog() {
        openImageDialog.visible = true
    }

    Connections {
        target: opening.image
        function onStatusChanged() {
            if (image.status === Image.Ready) {
                opening.pictureShown(image.source)
                pictureLoading.lastShownSource = image.source
                if (!pictureLoading.restoring)
                    loadErrorPopup.close()
                pictureLoading.restoring = false
            } else if (image.status === Image.Error) {
                // Not from inside the image's own notification: the source changes again.
                Qt.callLater(opening.refuseUnreadablePicture)
            }
        }
    }

    // A file that cannot be decoded leaves no trace: the picture shown before it (with
    // everything placed over it) comes back, or none if there was none, and the user is
    // told why. The previous picture may itself have gone meanwhile; then none is shown.
    function refuseUnreadablePicture() {
        if (image.status !== Image.Error)
            return
        var failed = image.source.toString()
        var previous = pictureLoading.lastShownSource.toString()
        pictureLoading.lastShownSource = ""
        loadErrorPopup.open()
        pictureLoading.restoring = previous !== "" && failed !== previous
        image.source = pictureLoading.restoring ? previous : ""
    }

    QtObject {
        id: pictureLoading
        property url lastShownSource: ""
        property bool restoring: false // the message stays while the old picture returns
    }

    PictureIntakeView {
        id: pictureIntake
        // Over the image area only: the panel stays usable while a picture is read.
        parent: opening.imageArea
        anchors.fill: parent
        target: opening.image
        onRefused: {
            loadErrorPopup.tooLarge = tooLarge
            loadErrorPopup.largestSide = largestSide
            loadErrorPopup.largestMegapixels = largestMegapixels
            loadErrorPopup.open()
        }
    }

    Popup {
        id: loadErrorPopup
        objectName: "loadErrorPopup"
        parent: opening.imageArea
        x: Math.round((parent.width - width) / 2)
        y: 16
        width: Math.min(implicitWidth, parent.width - 32)
        padding: 12
        closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
        property bool tooLarge: false
        property int largestSide: 0
        property int largestMegapixels: 0

        onAboutToShow: loadErrorMessage.active = true
        onClosed: tooLarge = false

        // Made when the message is first shown: most runs never need it.
        contentItem: Loader {
            id: loadErrorMessage
            active: false
            sourceComponent: Label {
                objectName: "loadErrorLabel"
                text: loadErrorPopup.tooLarge
                      ? qsTr("The picture is too large: it may be at most %1 pixels wide and high, and %2 megapixels in all.")
                        .arg(loadErrorPopup.largestSide).arg(loadErrorPopup.largestMegapixels)
                      : qsTr("The picture could not be opened; choose another JPEG or PNG file.")
                wrapMode: Text.WordWrap
                font.bold: true
            }
        }
    }

    // The remembered folder may have been moved or deleted since it was stored, or the
    // stored value may not be a folder at all: the dialog then opens in Documents.
    DialogFolders {
        id: dialogFolders
        objectName: "dialogFolders"
    }

    function openImageDialogStartFolder() {
        return dialogFolders.startFolder(settings.openImageDialogFolder,
                                         Platform.StandardPaths.writableLocation(
                                             Platform.StandardPaths.DocumentsLocation))
    }

    Dialogs.FileDialog {
        id: openImageDialog
        objectName: "openImageDialog"
        title: qsTr("Pick an image")
        folder: opening.openImageDialogStartFolder()
        nameFilters: ["Image files (*.jpg *.jpeg *.png)"]
        selectMultiple: false
        // The widget dialog is made inside the request to show it and ignores a folder
        // set before that. The change of visible is announced within that same request,
        // before the dialog is first drawn, so the folder handed over here (checked
        // afresh, in case it went meanwhile) is the one it opens in.
        onVisibleChanged: if (visible) folder = opening.openImageDialogStartFolder()
        onAccepted: opening.acceptChosenImage(openImageDialog.fileUrl)
        onRejected: openImageDialog.visible = false
    }

    // The folder remembered is the chosen file's own: the one the user picked it in.
    function acceptChosenImage(fileUrl) {
        var chosen = fileUrl.toString()
        settings.openImageDialogFolder = chosen !== ""
                ? dialogFolders.folderOfFile(chosen) : openImageDialog.folder
        if (chosen !== "")
            open(fileUrl)
        openImageDialog.visible = false
    }

    DropArea {
        id: imageDropArea
        objectName: "imageDropArea"
        anchors.fill: parent
        onEntered: drag.accepted = opening.isImageDrag(drag)
        onDropped: opening.dropImage(drop)
    }

    // Only the first URL is looked at: its last "."-separated piece must name a JPEG or
    // PNG file. Every other drag is refused, and no drop comes from it.
    function isImageDrag(drag) {
        if (!drag.hasUrls || drag.urls.length === 0)
            return false
        var suffix = drag.urls[0].toString().split(".").pop().toLowerCase()
        return ["jpg", "jpeg", "png"].indexOf(suffix) >= 0
    }

    function dropImage(drop) {
        if (drop.proposedAction !== Qt.CopyAction) {
            drop.accepted = false
            return
        }
        open(drop.urls[0])
        drop.acceptProposedAction()
    }
}
