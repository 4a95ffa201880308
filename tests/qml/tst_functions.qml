import QtQuick 2.15
import QtTest 1.2
import "qrc:/lengths.js" as Lengths
import "qrc:/pointer.js" as Pointer

// The page's plain functions on lengths and pointer geometry, without a window.
TestCase {
    name: "Functions"

    function test_parseReference_data() {
        return [
            { tag: "spaces around", text: " 2 ", value: 2 },
            { tag: "leading sign", text: ".5", value: 0.5 },
            { tag: "trailing sign", text: "5,", value: 5 },
            { tag: "many places", text: "11.7004", value: 11.7004 },
            { tag: "largest", text: "1000000", value: 1000000 },
            { tag: "empty", text: "" },
            { tag: "exponent", text: "1e3" },
            { tag: "negative", text: "-1" },
            { tag: "zero", text: "0,000" },
            { tag: "thousands and decimals", text: "1,000.5" }
        ]
    }

    function test_parseReference(data) {
        var value = Lengths.parseReference(data.text)
        if (data.value === undefined)
            verify(isNaN(value), data.text + " read as " + value)
        else
            compare(value, data.value)
    }

    // Two decimals in the user's language, rounded in the text only.
    function test_listLengthText() {
        compare(Lengths.listLengthText(11.456, Qt.locale("en_US")), "11.46")
        compare(Lengths.listLengthText(1234.5, Qt.locale("es_ES")), "1.234,50")
        compare(Lengths.listLengthText(0.004999, Qt.locale("en_US")), "0.00")
    }

    // Across is the distance from the line; a ray has only the side it points to.
    function test_nearLinesAndRays() {
        var p = Pointer.geometry(118, 89, 100, 100) // 18 right, 11 up: 31.4 degrees
        fuzzyCompare(Pointer.offsetFrom(p, 45).across, 7 / Math.SQRT2, 1e-9)
        verify(Pointer.isOnLine(p, 45, 1, 6))
        verify(!Pointer.isOnLine(p, 45, 1, 4))
        verify(Pointer.isOnRay(p, 45, 1, 6))
        verify(!Pointer.isOnRay(p, 225, 1, 6), "the ray pointing away")
        verify(Pointer.isOnLine(Pointer.geometry(400, 100 - 3, 100, 100), 0, 1, 0),
               "within a degree, however far across")
    }
}
