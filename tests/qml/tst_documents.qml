import QtQuick 2.15
import QtTest 1.2

// Each document loads on its own, with nothing but the registered native type and
// the application's identity, and the layout exports exactly the items the page
// and the window are meant to reach.
TestCase {
    name: "Documents"

    readonly property var exportedItems: ["containerRectangle", "drawingRectangle", "canvas",
        "canvasMouseArea", "eyeLabel", "referenceLabel", "referenceTextField", "lineLabel",
        "compassLabel", "image", "waterMark", "scrollView", "toolsColumnLayout", "openImageButton",
        "circleRadiusSlider", "angleStep5RadioButton", "angleStep10RadioButton", "mainColorButton",
        "angleStepTextColorButton", "lineVisibleSwitch", "lineRotationSlider", "lineColorButton",
        "compassVisibleSwitch", "compassRotationSlider", "compassAngleSlider", "compassColorButton",
        "rightEyeRadioButton", "printButton", "saveButton", "messageLabel", "circleWidthSpinBox",
        "lineWidthSpinBox", "compassWidthSpinBox", "magnifierSwitch", "leftEyeRadioButton"]
    readonly property var privateItems: ["circleRadiusLabel", "angleStepRectangle",
        "lineRotationLabel", "compassRotationLabel", "compassAngleLabel", "eyeGroupRectangle",
        "element"]

    function create(url) {
        var component = Qt.createComponent(url)
        compare(component.status, Component.Ready, component.errorString())
        var object = createTemporaryObject(component, null)
        verify(object, "could not create " + url)
        return object
    }

    function test_eachDocumentLoadsAlone_data() {
        return [{ "tag": "layout", "url": "qrc:/MainPageForm.ui.qml" },
                { "tag": "page", "url": "qrc:/MainPage.qml" },
                { "tag": "window", "url": "qrc:/main.qml" }]
    }

    function test_eachDocumentLoadsAlone(data) {
        create(data.url)
    }

    function test_layoutExportsItsItemsOnly() {
        var form = create("qrc:/MainPageForm.ui.qml")
        compare(exportedItems.length, 35)
        for (var i = 0; i < exportedItems.length; ++i)
            verify(form[exportedItems[i]], exportedItems[i] + " is not exported")
        for (var j = 0; j < privateItems.length; ++j)
            compare(form[privateItems[j]], undefined, privateItems[j] + " is exported")
    }

    function test_applicationIdentity() {
        compare(Qt.application.name, "Orvalith")
        compare(Qt.application.organization, "Orvalith")
        compare(Qt.application.version, "3.3.1")
    }
}
