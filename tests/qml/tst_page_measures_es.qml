import QtQuick 2.15
import QtTest 1.2
import "qrc:/"

// Calibration under a Spanish system locale, where the decimal sign is a comma.
Item {
    id: root
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

        function test_decimalCommaReference() {
            var popup = findChild(page, "calibrationPopup")
            page.calibrateMeasures()
            mouseClick(page.canvasMouseArea, 100, 100)
            mouseClick(page.canvasMouseArea, 500, 100)
            tryCompare(popup, "opened", true)
            var field = findChild(popup.contentItem, "referenceField")
            mouseClick(field)
            keySequence(StandardKey.SelectAll)
            "5,5".split("").forEach(function (character) { keyClick(character) })
            compare(findChild(popup.contentItem, "referenceRangeLabel").text,
                    "Escriba un número de 0,001 a 1.000.000.")
            mouseClick(findChild(popup.contentItem, "acceptButton"))
            tryCompare(popup, "visible", false)
            verify(page.calibrated)

            var measures = findChild(page, "measures")
            page.addMeasure()
            mouseClick(page.canvasMouseArea, 100, 300)
            mouseClick(page.canvasMouseArea, 500, 300)
            fuzzyCompare(measures.items[0].cachedLength, 5.5, 1e-9)
        }
    }
}
