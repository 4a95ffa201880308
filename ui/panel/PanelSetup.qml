import QtQuick 2.15

// The tool panel and the drawing area set up from the stored settings, and kept in
// step: the labels over the picture, the drawing area fitted to the picture, and the
// circle's radius range fitted to the drawing area.
QtObject {
    id: panel

    property var page: null
    property var settings: null
    // The overlay's colours at first start, and whenever a stored one would draw nothing.
    readonly property var defaultColors: ({
                                              "angleStepTextColor": "yellow",
                                              "compassColor": "cyan",
                                              "lineColor": "magenta",
                                              "mainColor": "white",
                                              "measureColor": "red"
                                          })

    // Setting a control here runs its change handler when the value really changes;
    // those handlers store the same value back and ask for a repaint, which is harmless.
    function startUp() {
        repairStoredWidths()
        repairStoredColors()
        page.angleStep5RadioButton.checked = !settings.angleStep10
        page.angleStep10RadioButton.checked = settings.angleStep10
        showTextColor(settings.angleStepTextColor)
        page.circleRadiusSlider.from = 32
        page.circleWidthSpinBox.value = settings.circleWidth
        calculateCircleRadiusSliderTo()
        page.circleRadiusSlider.value = Math.min(page.circleRadiusSlider.to,
                                                 Math.max(128, page.circleRadiusSlider.from))
        page.lineLabel.color = settings.lineColor
        page.lineWidthSpinBox.value = settings.lineWidth
        updateLineLabelText()
        page.compassLabel.color = settings.compassColor
        page.compassWidthSpinBox.value = settings.compassWidth
        updateCompassLabelText()
        updateDrawingRectangleSize()
        page.magnifierSwitch.checked = settings.magnifier
    }

    // A hand-edited or foreign settings file may hold any width. Colours and switches
    // that do not parse keep their defaults already (the settings object skips them);
    // widths that parse are brought to the nearest one the spin boxes offer, and stored.
    function repairStoredWidths() {
        settings.circleWidth = nearestValue(settings.circleWidth, page.circleWidthSpinBox)
        settings.lineWidth = nearestValue(settings.lineWidth, page.lineWidthSpinBox)
        settings.compassWidth = nearestValue(settings.compassWidth, page.compassWidthSpinBox)
    }

    // A stored colour that is invalid (it reads as fully transparent) would make its
    // part of the overlay invisible; so would a transparent one.
    function repairStoredColors() {
        for (var name in defaultColors) {
            if (settings[name].a === 0)
                settings[name] = defaultColors[name]
        }
    }

    function nearestValue(value, spinBox) {
        return Math.min(spinBox.to, Math.max(spinBox.from, Math.round(value)))
    }

    function showTextColor(color) {
        page.eyeLabel.color = color
        page.referenceLabel.color = color
        page.messageLabel.color = color
    }

    // Whole degrees print as they are; a value between whole degrees keeps one decimal,
    // with the user's decimal sign.
    function degreesText(value) {
        return value === Math.round(value) ? String(value)
                                           : value.toFixed(1).replace(".", Qt.locale().decimalPoint)
    }

    function updateLineLabelText() {
        page.lineLabel.text = "\u2205 " + degreesText(page.lineRotationSlider.value) + "\u00ba"
    }

    // First edge, second edge, and the opening folded to at most 180 degrees.
    function updateCompassLabelText() {
        var rotation = page.compassRotationSlider.value
        var angle = page.compassAngleSlider.value
        page.compassLabel.text = "< %1\u00ba %2\u00ba (%3\u00ba)".arg(degreesText(rotation % 360)).arg(
                    degreesText((rotation + angle) % 360)).arg(
                    degreesText(angle <= 180 ? angle : 360 - angle))
    }

    function showLine(shown) {
        page.lineLabel.visible = shown
        page.lineRotationSlider.enabled = shown
        page.lineWidthSpinBox.enabled = shown
        page.lineColorButton.enabled = shown
    }

    function showSector(shown) {
        page.compassLabel.visible = shown
        page.compassAngleSlider.enabled = shown
        page.compassRotationSlider.enabled = shown
        page.compassWidthSpinBox.enabled = shown
        page.compassColorButton.enabled = shown
    }

    function updateDrawingRectangleSize() {
        var image = page.image
        var container = page.containerRectangle
        var drawing = page.drawingRectangle
        if (image.sourceSize.width === 0) {
            drawing.width = container.width
            drawing.height = container.height
            return
        }
        var fitted = fitRectIntoBounds(image.sourceSize, {
                                           "width": container.width,
                                           "height": container.height
                                       })
        drawing.width = fitted.width
        drawing.height = fitted.height
    }

    // The largest size of rect's proportions inside bounds; small pictures are enlarged.
    function fitRectIntoBounds(rect, bounds) {
        var rectRatio = rect.width / rect.height
        var boundsRatio = bounds.width / bounds.height
        if (rectRatio > boundsRatio)
            return { "width": bounds.width, "height": rect.height * (bounds.width / rect.width) }
        return { "width": rect.width * (bounds.height / rect.height), "height": bounds.height }
    }

    // From the circle's centre to the nearest canvas edge, in canvas pixels.
    function minDistanceToBorder() {
        var canvas = page.canvas
        var x = canvas.width * page.circleX
        var y = canvas.height * page.circleY
        return Math.min(x, canvas.width - x, y, canvas.height - y)
    }

    // Leaves room for the degree numbers outside the circle, never below the slider's
    // lower bound. A lower end pulls the radius down with it (the slider clamps).
    function calculateCircleRadiusSliderTo() {
        var slider = page.circleRadiusSlider
        slider.to = Math.max(slider.from, minDistanceToBorder() - page.circleMargin)
    }
}
