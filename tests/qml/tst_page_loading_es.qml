import QtQuick 2.15
import QtTest 1.2
import "qrc:/"
import "pagetest.js" as PageTest

// The page's own texts under a Spanish system locale.
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
        name: "PageSpanish"
        when: windowShown

        function test_texts() {
            compare(page.eyeLabel.text, "O.I.")
            mouseClick(page.rightEyeRadioButton)
            compare(page.eyeLabel.text, "O.D.")

            page.calibrateMeasures()
            compare(page.messageLabel.text, "Elija el punto inicial para la calibración.")
            mouseClick(page.canvasMouseArea, 100, 100)
            compare(page.messageLabel.text, "Elija el punto final para la calibración.")
            page.resetMeasures()

            page.image.source = PageTest.pictureUrl("notes-renamed.png")
            var popup = findChild(page, "loadErrorPopup")
            tryCompare(popup, "visible", true)
            compare(findChild(popup.contentItem.parent, "loadErrorLabel").text,
                    "No se pudo abrir la imagen; elija otro archivo JPEG o PNG.")

            popup.close()
            page.openPicture(PageTest.pictureUrl("declares-65000x65000.jpg"))
            tryCompare(popup, "visible", true)
            var text = findChild(popup.contentItem.parent, "loadErrorLabel").text
            verify(/^La imagen es demasiado grande: puede tener como máximo \d+ píxeles/.test(text),
                   text)
        }
    }
}
