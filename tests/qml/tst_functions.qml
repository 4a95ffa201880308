import QtQuick 2.15
import QtTest 1.2
import "qrc:/lengths.js" as Lengths
import "qrc:/pointer.js" as Pointer

// The page's plain functions on lengths and angles, without a window.
TestCase {
    name: "Functions"

    function test_lengthsAndAngles() {
        verify(isNaN(Lengths.parseReference("1e3")) && isNaN(Lengths.parseReference("-1")))
        compare(Pointer.turned(0, -0.1, 180), 179.9)
        compare(Pointer.turned(359.9, 0.1, 360), 0)
        compare(Pointer.turned(10.1, 0.1 + 0.1 + 0.1, 360), 10.4)
    }

    // Up and to the right of the pointer, or on the other side near an edge.
    function test_magnifierPlace() {
        var place = Pointer.magnifierPlace(300, 300, 160, 24, 800, 600)
        compare([place.x, place.y], [324, 116])
        place = Pointer.magnifierPlace(790, 10, 160, 24, 800, 600)
        compare([place.x, place.y], [606, 34])
    }
}
