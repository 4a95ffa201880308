import QtQuick 2.15
import "highlight.js" as Highlight
import "overlay.js" as Overlay

// The on-screen overlay in two layers, each redrawn only when what it draws changed:
// a canvas with the graduation (cross, circle and degree numbers, most of the
// drawing) and the measures, and above it the guide line and the sector. A canvas
// makes a new texture of its whole size at every paint, the costliest step of a
// frame under a software renderer; so the guide line and the sector are plain items,
// which a drag only turns, without repainting the canvas. On screen they lie over
// the measures.
// The page's own canvas, which every repaint request goes to, hands its values over
// here and draws nothing itself. The export draws all of it in one canvas, in the
// same order (see overlay.js).
Item {
    id: layers

    // The overlay's values as last handed over (see overlay.js).
    property var values: null
    property var drawnKeys: ({})

    anchors.fill: parent

    function paint(v) {
        values = v
        repaintIfChanged(graduation, canvasKey(v))
    }

    function repaintIfChanged(layer, key) {
        if (drawnKeys[layer.objectName] === key)
            return
        drawnKeys[layer.objectName] = key
        layer.requestPaint()
    }

    // Every value the canvas draws from, whatever it is: all but the guides (which
    // draw their own highlight, so that a guide drag never repaints the canvas), the
    // measures and calibration by
    // their points, and the pointer only while a segment runs to it. A colour reads as
    // its name, a plain object as its fields.
    function canvasKey(v) {
        var parts = []
        for (var name in v) {
            if (["pointer", "items", "calibration", "line", "sector"].indexOf(name) >= 0)
                continue
            var value = v[name]
            parts.push(name, value !== null && typeof value === "object"
                       ? String(value) + JSON.stringify(value) : value)
        }
        var followsPointer = false
        var segment = function (start, end) {
            if (Overlay.isSet(start) && !Overlay.isSet(end))
                followsPointer = true
            return [start.x, start.y, end.x, end.y]
        }
        for (var i = 0; i < v.items.length; ++i) {
            var item = v.items[i]
            // An angle's vertex too; its second arm follows the pointer from there.
            var vertex = item.points.length > 2 ? item.points[1] : item.end
            parts.push(segment(item.start, vertex), segment(vertex, item.end), item.cachedLength,
                       item.angle)
        }
        parts.push(v.calibrating ? segment(v.calibration.start, v.calibration.end) : null)
        parts.push(followsPointer ? [v.pointer.x, v.pointer.y] : null)
        return JSON.stringify(parts)
    }

    component Layer: Canvas {
        property var paintLayer
        anchors.fill: parent
        // As the page's canvas: painted on this thread before the frame is put
        // together, into an image (see MainPage.qml).
        renderStrategy: Canvas.Immediate
        renderTarget: Canvas.Image
        // Its texture has the screen's pixels one for one: sampled as they are, which
        // costs a software renderer less at every frame than blending neighbours and,
        // where the area lies at a fraction of a pixel, keeps the lines unblurred.
        smooth: false
        onPaint: {
            var ctx = getContext("2d")
            ctx.reset()
            if (!layers.values)
                return
            ctx.translate(layers.values.viewX || 0, layers.values.viewY || 0)
            paintLayer(ctx, layers.values)
        }
    }

    // The measures share the graduation's canvas: a third canvas over the window,
    // even one never repainted, halved the frame rate of a circle drag.
    Layer {
        id: graduation
        objectName: "graduationLayer"
        paintLayer: function (ctx, v) {
            Overlay.paintGraduationLayer(ctx, v)
            // Dashed, which the guides' plain items cannot draw.
            if (v.plannedAxis >= 0)
                Overlay.paintPlannedAxis(ctx, v)
            Overlay.paintMarksLayer(ctx, v)
            Highlight.paint(ctx, v)
        }
    }

    // Rays from the circle's centre, at canvas angles in degrees (clockwise from the
    // right), as far as any corner.
    component Ray: Rectangle {
        property real angle: 0
        property real thickness: 1
        // The pointer handling's number for this guide: drawn wider while pointed at
        // or dragged (see highlight.js).
        property int action: 0
        readonly property var v: layers.values
        readonly property bool highlighted: v !== null && v.hovered !== undefined
                                            && v.hovered !== null && v.hovered.action === action
        x: v ? v.cx : 0
        y: (v ? v.cy : 0) - height / 2
        width: v ? Math.sqrt(v.w * v.w + v.h * v.h) : 0
        height: thickness + (highlighted ? 2 : 0)
        transformOrigin: Item.Left
        rotation: angle
        antialiasing: true
    }

    // Moved with the picture's view, as the canvas's drawing is (see overlay.js).
    Item {
        id: guides
        objectName: "guidesLayer"
        readonly property var line: layers.values ? layers.values.line : null
        readonly property var sector: layers.values ? layers.values.sector : null
        x: layers.values && layers.values.viewX ? layers.values.viewX : 0
        y: layers.values && layers.values.viewY ? layers.values.viewY : 0
        width: parent.width
        height: parent.height

        Ray {
            action: 1
            visible: guides.line !== null && guides.line.visible
            angle: visible ? -guides.line.rotation : 0
            thickness: visible ? guides.line.width : 1
            color: visible ? guides.line.color : "transparent"
        }

        Ray {
            action: 1
            visible: guides.line !== null && guides.line.visible
            angle: visible ? 180 - guides.line.rotation : 0
            thickness: visible ? guides.line.width : 1
            color: visible ? guides.line.color : "transparent"
        }

        Ray {
            action: 2
            visible: guides.sector !== null && guides.sector.visible
            angle: visible ? -guides.sector.rotation : 0
            thickness: visible ? guides.sector.width : 1
            color: visible ? guides.sector.color : "transparent"
        }

        Ray {
            action: 3
            visible: guides.sector !== null && guides.sector.visible
            angle: visible ? -guides.sector.angle - guides.sector.rotation : 0
            thickness: visible ? guides.sector.width : 1
            color: visible ? guides.sector.color : "transparent"
        }
    }
}
