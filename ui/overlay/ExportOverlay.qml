import QtQuick 2.15
import "overlay.js" as Overlay

// The overlay drawn once more at the picture's own resolution while the composite is
// captured, so that its lines and numbers are as sharp as the picture. It is factor
// times the on-screen overlay's size, shrunk by the same factor onto it, and the
// painting is scaled up by that factor: everything keeps its place and proportions,
// and a capture at the picture's size meets one drawn pixel per picture pixel.
// Between captures it is a single pixel, holding no image to speak of.
Canvas {
    id: exportOverlay
    visible: false
    width: 1
    height: 1
    transformOrigin: Item.TopLeft
    property real factor: 1
    scale: 1 / factor

    // Painted on this thread before the frame is put together, as the on-screen
    // overlay is: the capture taken in that frame holds this drawing.
    renderStrategy: Canvas.Immediate
    renderTarget: Canvas.Image

    // onScreen: the size of the on-screen overlay.
    function show(captureFactor, onScreen) {
        factor = captureFactor
        width = Math.ceil(onScreen.width * factor)
        height = Math.ceil(onScreen.height * factor)
        visible = true
        requestPaint()
    }

    // Painted once more at its single pixel, so that the picture-sized drawing is let go.
    function hide() {
        visible = false
        width = 1
        height = 1
        factor = 1
        requestPaint()
    }

    // values: as for the on-screen overlay, in its coordinates.
    function paintScaled(values) {
        var ctx = getContext("2d")
        ctx.reset()
        ctx.scale(factor, factor)
        Overlay.paint(ctx, values)
    }
}
