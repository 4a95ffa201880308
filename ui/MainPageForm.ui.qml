import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15

Item {
    id: element
    width: 1024
    height: 768

    property alias containerRectangle: containerRectangle
    property alias drawingRectangle: drawingRectangle
    property alias canvas: canvas
    property alias canvasMouseArea: canvasMouseArea
    property alias exportOverlay: exportOverlay
    property alias picturePreview: picturePreview
    property alias eyeLabel: eyeLabel
    property alias referenceLabel: referenceLabel
    property alias referenceTextField: referenceTextField
    property alias lineLabel: lineLabel
    property alias compassLabel: compassLabel
    property alias image: image
    property alias waterMark: waterMark
    property alias scrollView: scrollView
    property alias toolsColumnLayout: toolsColumnLayout
    property alias openImageButton: openImageButton
    property alias circleRadiusSlider: circleRadiusSlider
    property alias angleStep5RadioButton: angleStep5RadioButton
    property alias angleStep10RadioButton: angleStep10RadioButton
    property alias mainColorButton: mainColorButton
    property alias angleStepTextColorButton: angleStepTextColorButton
    property alias lineVisibleSwitch: lineVisibleSwitch
    property alias lineRotationSlider: lineRotationSlider
    property alias lineColorButton: lineColorButton
    property alias compassVisibleSwitch: compassVisibleSwitch
    property alias compassRotationSlider: compassRotationSlider
    property alias compassAngleSlider: compassAngleSlider
    property alias compassColorButton: compassColorButton
    property alias rightEyeRadioButton: rightEyeRadioButton
    property alias leftEyeRadioButton: leftEyeRadioButton
    property alias printButton: printButton
    property alias saveButton: saveButton
    property alias messageLabel: messageLabel
    property alias circleWidthSpinBox: circleWidthSpinBox
    property alias lineWidthSpinBox: lineWidthSpinBox
    property alias compassWidthSpinBox: compassWidthSpinBox
    property alias magnifierSwitch: magnifierSwitch

    Rectangle {
        id: containerRectangle
        color: "#000000"
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.right: scrollView.left
        anchors.rightMargin: 0

        Rectangle {
            id: drawingRectangle
            width: parent.width
            height: parent.height
            color: "#000000"
            clip: true
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.verticalCenter: parent.verticalCenter

            Image {
                id: image
                anchors.fill: parent
                fillMode: Image.PreserveAspectFit
            }

            PicturePreview {
                id: picturePreview
                anchors.fill: parent
                picture: image
            }

            Canvas {
                id: canvas
                anchors.left: image.left
                anchors.right: image.right
                anchors.top: image.top
                anchors.bottom: image.bottom
                anchors.leftMargin: 0
                anchors.rightMargin: 0
                anchors.topMargin: 0
                anchors.bottomMargin: 0

                MouseArea {
                    id: canvasMouseArea
                    anchors.fill: parent
                    hoverEnabled: true
                }
            }

            ExportOverlay {
                id: exportOverlay
                x: canvas.x
                y: canvas.y
            }

            Text {
                id: eyeLabel
                style: Text.Outline
                z: 1
                text: qsTr("L.E.")
                color: "#ffff00"
                font.bold: true
                font.pixelSize: 32
                horizontalAlignment: Text.AlignRight
                verticalAlignment: Text.AlignVCenter
                anchors.right: parent.right
                anchors.rightMargin: 16
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 16
            }

            Image {
                id: waterMark
                width: 96
                height: 96
                visible: false
                opacity: 0.5
                source: "img/watermark_lumo.png"
                fillMode: Image.PreserveAspectFit
                anchors.left: parent.left
                anchors.leftMargin: 16
                anchors.bottom: referenceLabel.top
                anchors.bottomMargin: 8
            }

            Text {
                id: lineLabel
                style: Text.Outline
                z: 1
                height: 22
                visible: false
                text: qsTr("")
                color: "#ffff00"
                font.bold: true
                font.pixelSize: 18
                horizontalAlignment: Text.AlignLeft
                verticalAlignment: Text.AlignVCenter
                anchors.left: parent.left
                anchors.leftMargin: 16
                anchors.right: parent.right
                anchors.rightMargin: 16
                anchors.top: parent.top
                anchors.topMargin: 16
            }

            Text {
                id: compassLabel
                style: Text.Outline
                z: 1
                height: 22
                visible: false
                text: qsTr("")
                color: "#ffff00"
                font.bold: true
                font.pixelSize: 18
                horizontalAlignment: Text.AlignLeft
                verticalAlignment: Text.AlignVCenter
                anchors.left: parent.left
                anchors.leftMargin: 16
                anchors.right: parent.right
                anchors.rightMargin: 16
                anchors.top: lineLabel.bottom
                anchors.topMargin: 8
            }

            Text {
                id: referenceLabel
                style: Text.Outline
                z: 1
                height: 36
                visible: false
                clip: true
                text: qsTr("")
                color: "#ffff00"
                font.bold: true
                font.pixelSize: 32
                horizontalAlignment: Text.AlignLeft
                verticalAlignment: Text.AlignVCenter
                anchors.left: parent.left
                anchors.leftMargin: 16
                anchors.right: eyeLabel.left
                anchors.rightMargin: 8
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 16
            }

            Label {
                id: messageLabel
                style: Text.Outline
                text: qsTr("")
                font.bold: true
                font.pixelSize: 18
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                anchors.left: parent.left
                anchors.leftMargin: 8
                anchors.right: parent.right
                anchors.rightMargin: 8
                anchors.bottom: referenceLabel.top
                anchors.bottomMargin: 8
            }
        }
    }

    // Taller than the room (a small screen), the panel scrolls with its bar always
    // in sight; the controls then narrow by the bar, so that it covers none of them.
    ScrollView {
        id: scrollView
        readonly property bool scrolls: contentHeight > availableHeight
        width: 150
        padding: 8
        rightPadding: 8 + (scrolls ? ScrollBar.vertical.width : 0)
        anchors.top: parent.top
        anchors.topMargin: 0
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 0
        anchors.right: parent.right
        anchors.rightMargin: 0
        ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
        ScrollBar.vertical.policy: scrolls ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff

        ColumnLayout {
            id: toolsColumnLayout
            width: scrollView.availableWidth
            spacing: 0

            Button {
                id: openImageButton
                text: qsTr("Open Image")
                Layout.fillWidth: true
            }

            Label {
                id: circleRadiusLabel
                text: qsTr("Radius")
                Layout.topMargin: 12
                Layout.fillWidth: false
            }

            Slider {
                id: circleRadiusSlider
                from: 32
                to: 521
                stepSize: 1
                value: 128
                Layout.fillWidth: true
            }

            RowLayout {
                spacing: 8
                Layout.topMargin: 8
                Layout.fillWidth: true

                SpinBox {
                    id: circleWidthSpinBox
                    enabled: true
                    from: 1
                    to: 4
                    value: 1
                    Layout.preferredWidth: 48
                }

                Label {
                    text: qsTr("Width")
                    Layout.fillWidth: true
                }
            }

            Rectangle {
                id: angleStepRectangle
                height: 52
                color: "#00000000"
                border.color: "#00000000"
                Layout.topMargin: 8
                Layout.fillWidth: true

                RadioButton {
                    id: angleStep5RadioButton
                    text: qsTr("5 degrees")
                    checked: false
                    anchors.top: parent.top
                    anchors.topMargin: 0
                    anchors.left: parent.left
                    anchors.leftMargin: 0
                    anchors.right: parent.right
                    anchors.rightMargin: 0
                }

                RadioButton {
                    id: angleStep10RadioButton
                    text: qsTr("10 degrees")
                    checked: true
                    anchors.top: angleStep5RadioButton.bottom
                    anchors.topMargin: 0
                    anchors.left: parent.left
                    anchors.leftMargin: 0
                    anchors.right: parent.right
                    anchors.rightMargin: 0
                }
            }

            Button {
                id: mainColorButton
                text: qsTr("Line Color")
                Layout.topMargin: 8
                Layout.fillWidth: true
            }

            Button {
                id: angleStepTextColorButton
                text: qsTr("Text Color")
                Layout.topMargin: 8
                Layout.fillWidth: true
            }

            Switch {
                id: lineVisibleSwitch
                text: qsTr("Guide Line")
                checked: false
                padding: 0
                spacing: 8
                Layout.topMargin: 12
                Layout.fillWidth: true
            }

            Label {
                id: lineRotationLabel
                text: qsTr("Rotation")
                Layout.topMargin: 8
            }

            Slider {
                id: lineRotationSlider
                enabled: false
                from: 0
                to: 180
                stepSize: 1
                value: 45
                Layout.topMargin: 0
                Layout.fillWidth: true
            }

            RowLayout {
                spacing: 8
                Layout.topMargin: 8
                Layout.fillWidth: true

                SpinBox {
                    id: lineWidthSpinBox
                    enabled: false
                    from: 1
                    to: 4
                    value: 1
                    Layout.preferredWidth: 48
                }

                Label {
                    text: qsTr("Width")
                    Layout.fillWidth: true
                }
            }

            Button {
                id: lineColorButton
                enabled: false
                text: qsTr("Color")
                Layout.topMargin: 8
                Layout.fillWidth: true
            }

            Switch {
                id: compassVisibleSwitch
                text: qsTr("Sector")
                checked: false
                padding: 0
                leftPadding: 0
                rightPadding: 0
                topPadding: 6
                spacing: 8
                Layout.topMargin: 12
                Layout.fillWidth: true
            }

            Label {
                id: compassRotationLabel
                text: qsTr("Rotation")
                Layout.topMargin: 8
            }

            Slider {
                id: compassRotationSlider
                enabled: false
                to: 360
                stepSize: 1
                value: 30
                Layout.fillWidth: true
            }

            Label {
                id: compassAngleLabel
                text: qsTr("Angle")
                Layout.topMargin: 8
                Layout.fillWidth: true
            }

            Slider {
                id: compassAngleSlider
                enabled: false
                to: 360
                stepSize: 1
                value: 30
                Layout.fillWidth: true
            }

            RowLayout {
                spacing: 8
                Layout.topMargin: 8
                Layout.fillWidth: true

                SpinBox {
                    id: compassWidthSpinBox
                    enabled: false
                    from: 1
                    to: 4
                    value: 1
                    Layout.preferredWidth: 48
                }

                Label {
                    text: qsTr("Width")
                    Layout.fillWidth: true
                }
            }

            Button {
                id: compassColorButton
                enabled: false
                text: qsTr("Color")
                Layout.topMargin: 8
                Layout.fillWidth: true
            }

            Switch {
                id: magnifierSwitch
                text: qsTr("Magnifier")
                checked: true
                padding: 0
                spacing: 8
                Layout.topMargin: 12
                Layout.fillWidth: true
            }

            Rectangle {
                id: eyeGroupRectangle
                width: 200
                height: 53
                color: "#00000000"
                border.color: "#00000000"
                Layout.topMargin: 12
                Layout.fillWidth: true

                RadioButton {
                    id: leftEyeRadioButton
                    text: qsTr("Left Eye")
                    checked: true
                    autoExclusive: true
                    anchors.top: parent.top
                    anchors.topMargin: 0
                    anchors.left: parent.left
                    anchors.leftMargin: 0
                    anchors.right: parent.right
                    anchors.rightMargin: 0
                }

                RadioButton {
                    id: rightEyeRadioButton
                    text: qsTr("Right Eye")
                    checked: false
                    anchors.top: leftEyeRadioButton.bottom
                    anchors.topMargin: 0
                    anchors.left: parent.left
                    anchors.leftMargin: 0
                    anchors.right: parent.right
                    anchors.rightMargin: 0
                }
            }

            TextField {
                id: referenceTextField
                text: ""
                placeholderText: qsTr("Reference")
                Layout.topMargin: 12
                Layout.fillWidth: true
            }

            Button {
                id: saveButton
                text: qsTr("Save as")
                Layout.topMargin: 12
                Layout.fillWidth: true
            }

            Button {
                id: printButton
                text: qsTr("Print")
                Layout.topMargin: 8
                Layout.fillWidth: true
            }

        }
    }
}
