import QtQuick 2.15
import QtTest 1.2
import "qrc:/"
import "pagetest.js" as PageTest

// The page's start-up, its control wiring, label texts, radius range, picture fitting
// and the sliding tool panel, on a real page in a real window.
Item {
    id: root
    width: 1100
    height: 850

    Component {
        id: pageComponent
        MainPage {}
    }

    TestCase {
        name: "PageControls"
        when: windowShown

        property var page: null

        function createPage(width, height) {
            page = createTemporaryObject(pageComponent, root, { "width": width, "height": height })
            verify(page)
            waitForRendering(page)
            return page
        }

        function init() {
            createPage(950, 800)
        }

        function loadPicture(name) {
            page.image.source = PageTest.pictureUrl(name)
            tryCompare(page.image, "status", Image.Ready)
        }

        function test_startUpState() {
            verify(page.angleStep10RadioButton.checked)
            verify(!page.angleStep5RadioButton.checked)
            compare(page.circleRadiusSlider.from, 32)
            compare(page.circleRadiusSlider.value, 128)
            compare(page.lineLabel.text, "\u2205 45\u00ba")
            compare(page.compassLabel.text, "< 30\u00ba 60\u00ba (30\u00ba)")
            verify(Qt.colorEqual(page.eyeLabel.color, "yellow"))
            verify(Qt.colorEqual(page.referenceLabel.color, "yellow"))
            verify(Qt.colorEqual(page.messageLabel.color, "yellow"))
            verify(Qt.colorEqual(page.lineLabel.color, "magenta"))
            verify(Qt.colorEqual(page.compassLabel.color, "cyan"))
            verify(!page.lineLabel.visible && !page.compassLabel.visible)
            // Without a picture the drawing area is the whole image area.
            compare(page.containerRectangle.width, 800)
            compare(page.drawingRectangle.width, 800)
            compare(page.drawingRectangle.height, 800)
            compare(page.canvas.width, 800)
        }

        function test_labelTexts_data() {
            return [
                { tag: "full turn, closed", rotation: 360, angle: 0, text: "< 0\u00ba 0\u00ba (0\u00ba)" },
                { tag: "wraps past 360", rotation: 300, angle: 100, text: "< 300\u00ba 40\u00ba (100\u00ba)" },
                { tag: "half turn", rotation: 30, angle: 180, text: "< 30\u00ba 210\u00ba (180\u00ba)" },
                { tag: "folded opening", rotation: 30, angle: 200, text: "< 30\u00ba 230\u00ba (160\u00ba)" }
            ]
        }

        function test_labelTexts(data) {
            page.compassRotationSlider.value = data.rotation
            page.compassAngleSlider.value = data.angle
            compare(page.compassLabel.text, data.text)
        }

        function test_guideLineLabelEnds() {
            page.lineRotationSlider.value = 0
            compare(page.lineLabel.text, "\u2205 0\u00ba")
            page.lineRotationSlider.value = 180
            compare(page.lineLabel.text, "\u2205 180\u00ba")
        }

        function test_switchesGovernTheirControls() {
            var lineControls = [page.lineRotationSlider, page.lineWidthSpinBox, page.lineColorButton]
            var sectorControls = [page.compassRotationSlider, page.compassAngleSlider,
                                  page.compassWidthSpinBox, page.compassColorButton]
            mouseClick(page.lineVisibleSwitch)
            verify(page.lineLabel.visible)
            lineControls.forEach(function (c) { verify(c.enabled) })
            sectorControls.forEach(function (c) { verify(!c.enabled) })
            page.lineRotationSlider.value = 100

            mouseClick(page.compassVisibleSwitch)
            verify(page.compassLabel.visible)
            sectorControls.forEach(function (c) { verify(c.enabled) })
            // The sector label keeps its place whether or not the guide line label shows.
            mouseClick(page.lineVisibleSwitch)
            verify(!page.lineLabel.visible)
            lineControls.forEach(function (c) { verify(!c.enabled) })
            compare(page.compassLabel.mapToItem(page.drawingRectangle, 0, 0).y, 46)

            mouseClick(page.lineVisibleSwitch)
            compare(page.lineRotationSlider.value, 100)
            compare(page.lineLabel.text, "\u2205 100\u00ba")
            mouseClick(page.compassVisibleSwitch)
            verify(!page.compassLabel.visible)
            sectorControls.forEach(function (c) { verify(!c.enabled) })
        }

        function test_eyeLabelAndReference() {
            mouseClick(page.rightEyeRadioButton)
            compare(page.eyeLabel.text, "R.E.")
            // The left-eye button sits right above the right-eye one.
            mouseClick(page.rightEyeRadioButton, 20, -page.rightEyeRadioButton.height / 2)
            verify(!page.rightEyeRadioButton.checked)
            compare(page.eyeLabel.text, "L.E.")

            mouseClick(page.referenceTextField)
            keyClick(Qt.Key_O)
            keyClick(Qt.Key_D)
            compare(page.referenceLabel.text, "od")
            verify(!page.referenceLabel.visible)
        }

        // The range leaves 31 pixels outside the circle for the degree numbers.
        function test_radiusRange() {
            createPage(750, 400)
            compare(page.canvas.width, 600)
            compare(page.minDistanceToBorder(), 200)
            compare(page.circleRadiusSlider.to, 169)
            compare(page.circleRadiusSlider.value, 128)

            page.circleX = 0.1
            page.calculateCircleRadiusSliderTo()
            compare(page.minDistanceToBorder(), 60)
            compare(page.circleRadiusSlider.to, 32)
            compare(page.circleRadiusSlider.value, 32)

            page.circleX = 0.5
            page.calculateCircleRadiusSliderTo()
            compare(page.circleRadiusSlider.to, 169)
            compare(page.circleRadiusSlider.value, 32, "a wider range does not bring the radius back")
        }

        function test_smallAreaStartsWithSmallerRadius_data() {
            return [
                { tag: "room for 119", width: 450, height: 300, radius: 119 },
                { tag: "floor of 32", width: 250, height: 200, radius: 32 }
            ]
        }

        function test_smallAreaStartsWithSmallerRadius(data) {
            createPage(data.width, data.height)
            compare(page.circleRadiusSlider.to, data.radius)
            compare(page.circleRadiusSlider.value, data.radius)
        }

        function test_pageResizeMovesRadiusRange() {
            compare(page.circleRadiusSlider.to, 369)
            page.height = 400
            compare(page.canvas.height, 400)
            compare(page.circleRadiusSlider.to, 169)
        }

        function test_fitting_data() {
            return [
                { tag: "wider picture", picture: "wide-2000x1000.jpg", area: [800, 800], fitted: [800, 400] },
                { tag: "taller picture", picture: "tall-1000x2000.png", area: [800, 600], fitted: [300, 600] },
                { tag: "same proportions", picture: "ratio-400x300.jpg", area: [800, 600], fitted: [800, 600] },
                { tag: "small picture enlarged", picture: "small-100x50.png", area: [800, 800], fitted: [800, 400] }
            ]
        }

        function test_fitting(data) {
            createPage(data.area[0] + 150, data.area[1])
            loadPicture(data.picture)
            compare(page.drawingRectangle.width, data.fitted[0])
            compare(page.drawingRectangle.height, data.fitted[1])
            compare(page.drawingRectangle.x, (data.area[0] - data.fitted[0]) / 2)
            compare(page.drawingRectangle.y, (data.area[1] - data.fitted[1]) / 2)
            compare(page.canvas.width, data.fitted[0])
            compare(page.canvas.height, data.fitted[1])
        }

        // The panel slides out over 250 ms; the image area widens with it, the picture is
        // fitted again and the radius range follows it, but an open popup stays.
        function test_toolbarHidden() {
            loadPicture("wide-2000x1000.jpg")
            compare(page.drawingRectangle.width, 800)
            compare(page.circleRadiusSlider.to, 169)
            page.calibrateMeasures()
            mouseClick(page.canvasMouseArea, 100, 100)
            mouseClick(page.canvasMouseArea, 300, 100)
            var popup = findChild(page, "calibrationPopup")
            verify(popup.visible)

            page.state = "toolbarHidden"
            tryCompare(page.scrollView.anchors, "rightMargin", -150, 1000)
            compare(page.scrollView.x, 950)
            compare(page.containerRectangle.width, 950)
            compare(page.drawingRectangle.width, 950)
            compare(page.drawingRectangle.height, 475)
            compare(page.circleRadiusSlider.to, 475 / 2 - 31)
            verify(popup.visible)
            verify(page.calibrating)

            page.state = ""
            tryCompare(page.scrollView.anchors, "rightMargin", 0, 1000)
            compare(page.containerRectangle.width, 800)
            compare(page.drawingRectangle.width, 800)
        }
    }
}
