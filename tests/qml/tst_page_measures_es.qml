import QtQuick 2.15
import QtTest 1.2
import "qrc:/"
import "qrc:/overlay.js" as Overlay

// Under a Spanish system locale the reference takes the decimal comma.
Item {
    width: 1100
    height: 850

    MainPage {
        id: page
        width: 950
        height: 800
    }

    TestCase {
        name: "PageMeasuresSpanish"
        when: windowShown

        function test_decimalComma() {
            var popup = findChild(page, "calibrationPopup")
            page.calibrateMeasures()
            mouseClick(page.canvasMouseArea, 100, 100)
            mouseClick(page.canvasMouseArea, 500, 100)
            tryCompare(popup, "opened", true)
            mouseClick(findChild(popup.contentItem, "referenceField"))
            keySequence(StandardKey.SelectAll)
            "11,5".split("").forEach(function (character) { keyClick(character) })
            compare(findChild(popup.contentItem, "referenceRangeLabel").text,
                    "Escriba un número de 0,001 a 1.000.000.")
            keyClick(Qt.Key_Return)
            tryCompare(popup, "visible", false)
            fuzzyCompare(findChild(page, "measures").calibrationFactor * 400, 11.5, 1e-9)

            // The list reads as the user writes; the CSV keeps the point.
            page.addMeasure()
            mouseClick(page.canvasMouseArea, 100, 200)
            mouseClick(page.canvasMouseArea, 300, 200)
            var list = findChild(page, "measuresList")
            tryVerify(function () { return list.text.indexOf("Medida 1\t5,75\tmm\n") > 0 },
                      5000, "the measure listed with a decimal comma")
            var csv = list.csvText()
            verify(csv.indexOf("Calibración,11.5,mm\r\nMedida 1,5.75,mm\r\n") > 0, csv)
            // So does the overlay, with the unit: its painting calls, recorded.
            var written = []
            Overlay.paint(recordingContext(written), page.overlayValues())
            verify(written.indexOf("5,8 mm") >= 0, written)
        }

        // Takes the overlay's drawing calls and keeps the texts it writes.
        function recordingContext(written) {
            var ignore = function () {}
            return {
                "measureText": function (text) { return { "width": 6 * text.length } },
                "fillText": function (text) { written.push(text) },
                "strokeText": ignore, "clearRect": ignore, "save": ignore, "restore": ignore,
                "beginPath": ignore, "moveTo": ignore, "lineTo": ignore, "arc": ignore,
                "stroke": ignore
            }
        }
    }
}
