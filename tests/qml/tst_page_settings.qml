import QtQuick 2.15
import QtTest 1.2
import Qt.labs.settings 1.0
import "qrc:/"
import "pagetest.js" as PageTest

// What the page keeps in the settings store, across a restart (the page destroyed and
// created again), including colours chosen in the colour dialogs and stored values
// that the page never wrote.
Item {
    id: root
    width: 1100
    height: 850
    Component {
        id: pageComponent
        MainPage {}
    }

    // The same store as the page's, through an object of the test's own.
    Settings {
        id: store
        category: "MainPage"
    }

    TestCase {
        name: "PageSettings"
        when: windowShown

        property var page: null
        property var settings: null

        function createPage() {
            page = createTemporaryObject(pageComponent, root, { "width": 950, "height": 800 })
            verify(page)
            settings = findChild(page, "settings")
            waitForRendering(page)
        }

        // Destroying the page writes out whatever its settings object still holds.
        function restart() {
            page.destroy()
            wait(0)
            createPage()
        }

        function resetStore() {
            var defaults = {
                "angleStep10": true, "angleStepTextColor": "#ffff00", "compassColor": "#00ffff",
                "lineColor": "#ff00ff", "mainColor": "#ffffff", "measureColor": "#ff0000",
                "circleWidth": 1, "lineWidth": 1, "compassWidth": 1, "magnifier": true
            }
            for (var key in defaults)
                store.setValue(key, defaults[key])
        }

        function init() {
            resetStore()
            createPage()
        }

        function clickUp(spinBox, times) {
            for (var i = 0; i < times; ++i)
                mouseClick(spinBox.up.indicator)
        }

        function test_controlsSurviveRestart() {
            mouseClick(page.angleStep5RadioButton)
            verify(!page.angleStep10RadioButton.checked)
            clickUp(page.circleWidthSpinBox, 1)
            mouseClick(page.lineVisibleSwitch)
            clickUp(page.lineWidthSpinBox, 2)
            mouseClick(page.compassVisibleSwitch)
            clickUp(page.compassWidthSpinBox, 4)
            compare(page.compassWidthSpinBox.value, 4)
            page.lineRotationSlider.value = 10
            mouseClick(page.magnifierSwitch)

            restart()
            verify(!page.magnifierSwitch.checked)
            verify(page.angleStep5RadioButton.checked)
            verify(!page.angleStep10RadioButton.checked)
            compare(settings.angleStep10, false)
            compare(page.circleWidthSpinBox.value, 2)
            compare(page.lineWidthSpinBox.value, 3)
            compare(page.compassWidthSpinBox.value, 4)
            compare(Number(store.value("lineWidth")), 3)
            // Switches and angles are not kept.
            verify(!page.lineVisibleSwitch.checked && !page.compassVisibleSwitch.checked)
            compare(page.lineRotationSlider.value, 45)
        }

        // Two windows open at once: each change writes its own setting only, never the
        // other window's older choices with it.
        function test_twoPagesWriteOnlyTheirOwnChoices() {
            var other = createTemporaryObject(pageComponent, root, { "width": 950, "height": 800 })
            waitForRendering(other)
            page.visible = false
            mouseClick(other.angleStep5RadioButton)
            tryVerify(function () { return String(store.value("angleStep10")) === "false" })
            page.visible = true
            other.visible = false
            mouseClick(page.magnifierSwitch)
            tryVerify(function () { return String(store.value("magnifier")) === "false" })
            compare(String(store.value("angleStep10")), "false", "the other window's choice kept")
            other.destroy()
            restart()
            verify(page.angleStep5RadioButton.checked)
            verify(!page.magnifierSwitch.checked)
        }

        // A stored unit of any length is cut to a short one when read.
        function test_longStoredUnit() {
            page.destroy()
            wait(0)
            store.setValue("lengthUnit", "  " + new Array(100001).join("u"))
            createPage()
            compare(settings.lengthUnit, new Array(17).join("u"))
            tryVerify(function () { return String(store.value("lengthUnit")).length === 16 })
        }

        // Values the page never wrote: each falls back to its default or the nearest value
        // the page can use, and start-up goes on as usual.
        function test_foreignStoredValues() {
            page.destroy()
            wait(0)
            store.setValue("angleStep10", "banana")
            store.setValue("angleStepTextColor", "banana")
            store.setValue("compassColor", "#80ff0000")
            store.setValue("lineColor", "")
            store.setValue("mainColor", 42)
            store.setValue("measureColor", Qt.rgba(1, 0, 0, 0))
            store.setValue("circleWidth", 99)
            store.setValue("lineWidth", "banana")
            store.setValue("compassWidth", -3)
            createPage()

            verify(page.angleStep10RadioButton.checked)
            verify(Qt.colorEqual(page.eyeLabel.color, "yellow"))
            verify(Qt.colorEqual(page.messageLabel.color, "yellow"))
            verify(Qt.colorEqual(page.compassLabel.color, "#80ff0000"), "a colour written by hand")
            verify(Qt.colorEqual(page.lineLabel.color, "magenta"))
            verify(Qt.colorEqual(settings.mainColor, "white"))
            verify(Qt.colorEqual(settings.measureColor, "red"), "a colour that draws nothing")
            compare(page.circleWidthSpinBox.value, 4)
            compare(page.lineWidthSpinBox.value, 1)
            compare(page.compassWidthSpinBox.value, 1)
            compare(page.circleRadiusSlider.value, 128)
            compare(page.lineLabel.text, "\u2205 45\u00ba")

            restart()
            compare(Number(store.value("circleWidth")), 4, "the repaired width is stored")
            compare(Number(store.value("compassWidth")), 1)
        }

        function test_colorDialog_data() {
            return [
                { tag: "text", button: "angleStepTextColorButton", dialog: "angleStepTextColorDialog",
                  key: "angleStepTextColor", original: "yellow",
                  labels: ["eyeLabel", "referenceLabel", "messageLabel"] },
                { tag: "sector", toggle: "compassVisibleSwitch", button: "compassColorButton",
                  dialog: "compassColorDialog", key: "compassColor", original: "cyan",
                  labels: ["compassLabel"] },
                { tag: "guide line", toggle: "lineVisibleSwitch", button: "lineColorButton",
                  dialog: "lineColorDialog", key: "lineColor", original: "magenta",
                  labels: ["lineLabel"] },
                { tag: "lines", button: "mainColorButton", dialog: "mainColorDialog",
                  key: "mainColor", original: "white", labels: [] },
                { tag: "measures", dialog: "measureColorDialog", key: "measureColor",
                  original: "red", labels: [] }
            ]
        }

        function verifyColorShown(data, color) {
            verify(Qt.colorEqual(settings[data.key], color), data.key + " " + settings[data.key])
            data.labels.forEach(function (label) {
                verify(Qt.colorEqual(page[label].color, color), label + " " + page[label].color)
            })
        }

        function openDialog(data) {
            if (data.toggle)
                mouseClick(page[data.toggle])
            if (data.button)
                mouseClick(page[data.button])
            else
                page.pickMeasuresColor()
            var dialog = findChild(page, data.dialog)
            verify(dialog.visible)
            return dialog
        }

        // Each colour chosen shows at once and is stored; Cancel brings back the colour
        // from before the dialog opened, on screen, in the store and after a restart.
        function test_colorDialog(data) {
            var dialog = openDialog(data)
            verify(Qt.colorEqual(dialog.color, data.original), "opens on the colour in force")
            dialog.currentColor = "green"
            verifyColorShown(data, "green")
            dialog.currentColor = "#800000ff"
            verifyColorShown(data, "#800000ff")
            tryVerify(function () { return Qt.colorEqual(store.value(data.key), "#800000ff") })

            dialog.reject()
            verify(!dialog.visible)
            verifyColorShown(data, data.original)
            restart()
            verifyColorShown(data, data.original)

            // Opened again, the dialog starts from the colour now in force.
            dialog = openDialog(data)
            dialog.currentColor = "#40102030"
            dialog.accept()
            verify(!dialog.visible)
            verifyColorShown(data, "#40102030")
            restart()
            verifyColorShown(data, "#40102030")
            compare(Math.round(settings[data.key].a * 255), 0x40, "the alpha is kept")
        }

        function test_acceptWithoutChoosing() {
            var data = test_colorDialog_data()[3]
            var dialog = openDialog(data)
            dialog.accept()
            verifyColorShown(data, "white")
            restart()
            verifyColorShown(data, "white")
        }

        // The cross's left arm, away from the circle and the degree numbers.
        function crossPixel() {
            return grabImage(page.canvas).pixel(50, page.canvas.height / 2)
        }

        function test_previewRepaintsTheOverlay() {
            tryVerify(function () { return PageTest.near(crossPixel(), Qt.rgba(1, 1, 1, 1), 0.05) })
            var dialog = openDialog(test_colorDialog_data()[3])
            dialog.currentColor = "#00ff00"
            tryVerify(function () { return PageTest.near(crossPixel(), Qt.rgba(0, 1, 0, 1), 0.05) })
            dialog.reject()
            tryVerify(function () { return PageTest.near(crossPixel(), Qt.rgba(1, 1, 1, 1), 0.05) })
        }
    }
}
