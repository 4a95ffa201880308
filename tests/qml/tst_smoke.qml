import QtQuick 2.15
import QtTest 1.2
import "qrc:/"

TestCase {
    name: "Smoke"
    when: windowShown
    width: 1024
    height: 768

    MainPage {
        id: page
        anchors.fill: parent
    }

    function test_pageLoads() {
        compare(page.circleMargin, 31)
        compare(Qt.application.version, "3.3.1")
    }
}
