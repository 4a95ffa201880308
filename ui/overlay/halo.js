.pragma library

// The thin outline around every text drawn over the picture, so that a label keeps
// the colour the user chose and still reads on white sclera and a dark pupil alike:
// dark around a light colour, light around a dark one.

// Canvas line width: half of it lies outside the letters.
var canvasWidth = 3

function haloColor(color) {
    var luminance = 0.299 * color.r + 0.587 * color.g + 0.114 * color.b
    return luminance > 0.5 ? "black" : "white"
}
