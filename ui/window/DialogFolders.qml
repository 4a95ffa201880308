import QtQml 2.15
import Qt.labs.folderlistmodel 2.15

// The folders of the open dialog: where it starts, and which folder a chosen file
// leaves to be remembered.
QtObject {
    id: dialogFolders

    // A folder model tells, as it is made, whether its folder can be opened: given one
    // that has gone, a file or no folder at all, it falls back to the working folder.
    // Each model is let go at once: it watches its folder for as long as it lives, and
    // on Windows a watched folder cannot be renamed or deleted.
    property Component folderModel: Component {
        FolderListModel {
            showDirs: false
            showFiles: false
        }
    }

    function isFolder(url) {
        var model = folderModel.createObject(null, { "folder": url })
        var found = model.folder.toString() === url.toString()
        model.destroy()
        return found
    }

    // The remembered folder while it can still be opened, else the fallback.
    function startFolder(remembered, fallback) {
        return isFolder(remembered) ? remembered : fallback
    }

    // The folder of a file URL. A drive's or the file system's root keeps its slash:
    // "file:///C:" names the current folder of drive C on Windows, not its root.
    function folderOfFile(fileUrl) {
        var text = fileUrl.toString()
        var folder = text.substring(0, text.lastIndexOf("/"))
        return /^file:\/\/(\/[A-Za-z]:)?$/.test(folder) ? folder + "/" : folder
    }
}
