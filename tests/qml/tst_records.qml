import QtQuick 2.15
import QtTest 1.2
import "qrc:/records.js" as Records
import "qrc:/recordfields.js" as RecordFields

// The measures list's texts for a known calibration and measures, with no window.
TestCase {
    name: "MeasuresRecords"

    readonly property var labels: ({
                                       "item": "Item",
                                       "value": "Value",
                                       "unit": "Unit",
                                       "calibration": "Calibration",
                                       "measure": "Measure %1",
                                       "guideLine": "Guide line",
                                       "firstEdge": "First edge",
                                       "secondEdge": "Second edge",
                                       "sectorAngle": "Sector angle",
                                       "picture": "Picture",
                                       "reference": "Reference"
                                   })

    function point(x, y) {
        return { "x": x, "y": y }
    }

    // Two finished measures around one still being placed, which is not listed; the
    // sector opens past a full turn and wider than half of one.
    function knownState(unit) {
        return {
            "calibrated": true,
            "reference": 11.5,
            "unit": unit,
            "items": [{ "start": point(0.1, 0.1), "end": point(0.2, 0.2), "cachedLength": 4.256 },
                      { "start": point(0.3, 0.3), "end": point(-1, -1), "cachedLength": 0 },
                      { "start": point(0.4, 0.4), "end": point(0.5, 0.1), "cachedLength": 1234.5 }],
            "line": { "visible": true, "rotation": 45.5 },
            "sector": { "visible": true, "rotation": 300, "angle": 200 }
        }
    }

    function test_listCopyAndCsv() {
        var list = Records.entries(knownState("mm"), labels)
        compare(Records.rows(list, Qt.locale("C")), [
                    ["Calibration", "11.5", "mm"], ["Measure 1", "4.26", "mm"],
                    ["Measure 2", "1234.50", "mm"], ["Guide line", "45.5", "\u00b0"],
                    ["First edge", "300", "\u00b0"], ["Second edge", "140", "\u00b0"],
                    ["Sector angle", "160", "\u00b0"]])
        compare(Records.tabText(list.slice(0, 2), labels, Qt.locale("C")),
                "Item\tValue\tUnit\nCalibration\t11.5\tmm\nMeasure 1\t4.26\tmm\n")
        var heading = [["Picture", "eye, left.jpg"], ["Reference", "Visit \"3\""]]
        compare(Records.tabText(list.slice(0, 1), labels, Qt.locale("C"), heading),
                "Picture\teye, left.jpg\nReference\tVisit \"3\"\nItem\tValue\tUnit\n"
                + "Calibration\t11.5\tmm\n")
        compare(Records.csvText(list.slice(0, 2), labels, heading),
                "Picture,\"eye, left.jpg\"\r\nReference,\"Visit \"\"3\"\"\"\r\n"
                + "Item,Value,Unit\r\nCalibration,11.5,mm\r\nMeasure 1,4.26,mm\r\n")
    }

    // The Spanish list shows the decimal comma; the CSV keeps the point, and a unit
    // holding the separators cannot break a row of either text.
    function test_spanishNumbersStayOutOfCsv() {
        var list = Records.entries(knownState("mm,\tx"), labels)
        var spanish = Qt.locale("es_ES")
        compare(Records.rows(list, spanish)[1], ["Measure 1", "4,26", "mm,\tx"])
        var copied = Records.tabText(list, labels, spanish).split("\n")
        compare(copied[2], "Measure 1\t4,26\tmm, x")
        compare(copied[3], "Measure 2\t1234,50\tmm, x")
        var csv = Records.csvText(list, labels, [["Picture", "a.jpg"]])
        verify(csv.indexOf("Measure 2,1234.50,\"mm,\tx\"\r\n") > 0, csv)
        verify(csv.indexOf("Guide line,45.5,\u00b0\r\n") > 0, csv)
    }

    // Text that a spreadsheet would run as a formula is written as text, in the file
    // and in the copy alike; the numbers stay numbers.
    function test_formulasStayText() {
        var list = Records.entries(knownState("@SUM(A1)"), labels).slice(0, 2)
        var csv = Records.csvText(list, labels, [["Picture", "=HYPERLINK(\"x\").jpg"],
                                                 ["Reference", "+1"]])
        compare(csv.split("\r\n").slice(0, 4),
                ["Picture,\"'=HYPERLINK(\"\"x\"\").jpg\"", "Reference,'+1", "Item,Value,Unit",
                 "Calibration,11.5,'@SUM(A1)"])
        var copied = Records.tabText(Records.entries(knownState("\u2212x"), labels), labels,
                                     Qt.locale("C"), [["Picture", "-eye.jpg"]]).split("\n")
        compare(copied[0], "Picture\t'-eye.jpg")
        compare(copied[2], "Calibration\t11.5\t'\u2212x")
    }

    // The heading of every record: in the user's language for the copy and the page,
    // plain for the CSV and the metadata, the calibration's fields only once calibrated.
    function test_recordHeading() {
        var info = {
            "picture": "eye.jpg", "reference": "Visit 3", "eye": "R.E.",
            "savedAt": new Date(2026, 11, 9, 3, 20, 5), "calibrated": true,
            "calibrationReference": 11.5, "unit": "mm", "pixelsPerUnit": 51.25,
            "program": "Orvalith 3.3.1"
        }
        var fieldLabels = { "picture": "Picture", "reference": "Reference", "eye": "Eye",
                            "savedAt": "Saved", "pixelsPerUnit": "Pixels per %1",
                            "program": "Program" }
        var plain = RecordFields.headerRows(info, fieldLabels, null)
        compare(plain, [["Picture", "eye.jpg"], ["Reference", "Visit 3"], ["Eye", "R.E."],
                        ["Saved", "2026-12-09 03:20:05"], ["Pixels per mm", "51.250"],
                        ["Program", "Orvalith 3.3.1"]])
        compare(RecordFields.headerRows(info, fieldLabels, Qt.locale("es_ES"))[4][1], "51,250")
        var fields = RecordFields.fields(info)
        verify(/^2026-12-09T03:20:05[+-]\d\d:\d\d$/.test(fields.savedAt), fields.savedAt)
        compare([fields.calibrationReference, fields.calibrationUnit, fields.pixelsPerUnit],
                ["11.5", "mm", "51.250"])
        info.calibrated = false
        compare(RecordFields.headerRows(info, fieldLabels, null).length, 5)
        compare(RecordFields.fields(info).pixelsPerUnit, "")
    }
}
