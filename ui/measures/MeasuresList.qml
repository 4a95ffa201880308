import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Orvalith 1.0
import "records.js" as Records
import "recordfields.js" as RecordFields

// The panel's list of what is measured on the picture: the calibration, the
// measures, the guide line and the sector, brought up to date whenever one of
// them changes; the rows are only rebuilt when their text changed.
ColumnLayout {
    id: list
    spacing: 4

    property var measures: null
    property string unit: ""
    property bool lineVisible: false
    property real lineRotation: 0
    property bool sectorVisible: false
    property real sectorRotation: 0
    property real sectorAngle: 0
    // The fitted circle's diameter in picture pixels; 0 when the circle was not fitted.
    property real circleDiameter: 0
    // The picture's local file, whose name heads the CSV, and the reference text.
    property url picture: ""
    property string referenceText: ""
    // The eye as the picture names it ("R.E." or "L.E.").
    property string eye: ""

    // The list as copied: tab separated with a header row, in the user's language;
    // empty while there is nothing to list.
    readonly property string text: entries.length > 0 ? Records.tabText(entries, labels, Qt.locale())
                                                      : ""
    property var entries: []

    readonly property var labels: ({
                                       "item": qsTr("Item"),
                                       "value": qsTr("Value"),
                                       "unit": qsTr("Unit"),
                                       "calibration": qsTr("Calibration"),
                                       "measure": qsTr("Measure %1"),
                                       "angle": qsTr("Angle %1"),
                                       "circleDiameter": qsTr("Circle diameter"),
                                       "plannedAxis": qsTr("Planned axis"),
                                       "misalignment": qsTr("Misalignment"),
                                       "guideLine": qsTr("Guide line"),
                                       "firstEdge": qsTr("Sector edge 1"),
                                       "secondEdge": qsTr("Sector edge 2"),
                                       "sectorAngle": qsTr("Sector angle"),
                                       "picture": qsTr("Picture"),
                                       "reference": qsTr("Reference"),
                                       "eye": qsTr("Eye"),
                                       "savedAt": qsTr("Saved"),
                                       "pixelsPerUnit": qsTr("Picture pixels per %1"),
                                       "program": qsTr("Program")
                                   })

    function refresh() {
        if (!measures)
            return
        var fresh = Records.entries({
                                        "calibrated": measures.calibrated,
                                        "reference": measures.reference,
                                        "unit": unit,
                                        "items": measures.items,
                                        "line": { "visible": lineVisible, "rotation": lineRotation },
                                        "sector": {
                                            "visible": sectorVisible,
                                            "rotation": sectorRotation,
                                            "angle": sectorAngle
                                        },
                                        "circleDiameter": circleDiameter * measures.calibrationFactor,
                                        "planned": {
                                            "axis": plannedAxis,
                                            "misalignment": Geometry.foldedMisalignment(lineRotation,
                                                                                        plannedAxis)
                                        }
                                    }, labels)
        if (JSON.stringify(fresh) !== JSON.stringify(entries))
            entries = fresh
    }

    readonly property real plannedAxis: measures ? measures.document.plannedAxis : -1
    onPlannedAxisChanged: refresh()
    onCircleDiameterChanged: refresh()
    onUnitChanged: refresh()
    onLineVisibleChanged: refresh()
    onLineRotationChanged: refresh()
    onSectorVisibleChanged: refresh()
    onSectorRotationChanged: refresh()
    onSectorAngleChanged: refresh()

    Connections {
        target: list.measures
        function onCalibratedChanged() { list.refresh() }
        function onReferenceChanged() { list.refresh() }
        function onItemsChanged() { list.refresh() }
        function onLengthsUpdated() { list.refresh() }
    }

    // A pasted picture has no file: no name then.
    function pictureFileName() {
        var source = picture.toString()
        if (source.indexOf("file:") !== 0)
            return ""
        source = decodeURIComponent(source)
        return source.substring(source.lastIndexOf("/") + 1)
    }

    // What heads the record at the given moment; see recordfields.js.
    function recordInfo(savedAt) {
        var factor = measures ? measures.calibrationFactor : 0
        return {
            "picture": pictureFileName(),
            "reference": referenceText,
            "eye": eye,
            "savedAt": savedAt,
            "calibrated": measures !== null && measures.calibrated && factor > 0,
            "calibrationReference": measures ? measures.reference : 0,
            "unit": unit,
            "pixelsPerUnit": factor > 0 ? 1 / factor : 0,
            "program": Qt.application.name + " " + Qt.application.version
        }
    }

    function csvText() {
        var info = recordInfo(new Date())
        return Records.csvText(entries, labels, RecordFields.headerRows(info, labels, null))
    }

    // The copy: the record's heading and the list, in the user's language.
    function recordText(savedAt) {
        var info = recordInfo(savedAt)
        return Records.tabText(entries, labels, Qt.locale(),
                               RecordFields.headerRows(info, labels, Qt.locale()))
    }

    // Everything a saved or printed composite carries: the text, the fields for
    // the metadata, and the heading and rows of the printed page.
    function exportRecord(savedAt) {
        var info = recordInfo(savedAt)
        return {
            "text": recordText(savedAt),
            "fields": RecordFields.fields(info),
            "header": RecordFields.headerRows(info, labels, Qt.locale()),
            "rows": Records.rows(entries, Qt.locale())
        }
    }

    // Named after the picture, so that the two files sit side by side.
    function suggestedCsvName() {
        var name = pictureFileName()
        var dot = name.lastIndexOf(".")
        return (dot > 0 ? name.substring(0, dot) : qsTr("measurements")) + ".csv"
    }

    function copy() {
        recordExport.copyText(recordText(new Date()))
    }

    function saveCsv() {
        recordExport.saveTextAs(csvText(), suggestedCsvName())
    }

    RecordExport {
        id: recordExport
    }

    PlannedAxisField {
        document: list.measures ? list.measures.document : null
        Layout.fillWidth: true
        Layout.bottomMargin: 8
    }

    Label {
        text: qsTr("Measurements")
        font.bold: true
        Layout.fillWidth: true
    }

    readonly property var rowTexts: Records.rows(list.entries, Qt.locale())

    // A measure's row selects that measure, as a click on it does on the picture, and
    // its × removes it (a step that can be undone). The rows are made again only when
    // their number changes: a dragged point changes their texts alone.
    Repeater {
        model: list.entries.length

        RowLayout {
            id: row
            readonly property var texts: list.rowTexts[index] || ["", "", ""]
            readonly property int measure: list.entries[index].measure !== undefined
                                           ? list.entries[index].measure : -1
            readonly property bool selected: measure >= 0 && list.measures
                                             && list.measures.selected === measure
            objectName: "measuresListRow"
            spacing: 4
            Layout.fillWidth: true

            Label {
                text: row.texts[0]
                font.bold: row.selected
                elide: Text.ElideRight
                Layout.fillWidth: true

                MouseArea {
                    anchors.fill: parent
                    enabled: row.measure >= 0
                    onClicked: list.measures.selected = row.selected ? -1 : row.measure
                }
            }

            Label {
                text: row.texts[1] + (row.texts[2] === Records.degreeSign ? "" : " ")
                      + row.texts[2]
                font.bold: row.selected
                horizontalAlignment: Text.AlignRight
            }

            ToolButton {
                objectName: "removeMeasureButton"
                text: "\u00d7"
                // Kept in place on the other rows, so that the values stay in one column.
                opacity: row.measure >= 0 ? 1 : 0
                enabled: row.measure >= 0
                padding: 0
                implicitWidth: 20
                implicitHeight: 20
                ToolTip.visible: hovered
                ToolTip.text: qsTr("Remove measure")
                onClicked: list.measures.document.removeMeasure(row.measure)
            }
        }
    }

    Button {
        objectName: "copyMeasuresButton"
        text: qsTr("Copy")
        enabled: list.entries.length > 0
        Layout.topMargin: 4
        Layout.fillWidth: true
        onClicked: list.copy()
    }

    Button {
        objectName: "saveMeasuresButton"
        text: qsTr("Save measurements…")
        enabled: list.entries.length > 0
        Layout.fillWidth: true
        onClicked: list.saveCsv()
    }
}
