.pragma library

// Lengths as the user types and reads them.

// Enough for any unit's name or symbol; a longer one (a hand-edited settings file)
// would crowd the labels of every control that shows a length.
var longestUnit = 16

// A unit as typed or stored: without the spaces around it, at most longestUnit long.
function unitOf(text) {
    return String(text).trim().substring(0, longestUnit)
}

var smallestReference = 0.001
var largestReference = 1000000

// A reference length typed by the user: digits with at most one decimal sign, "." or
// "," alike, whatever the language, since both are what people type for a decimal.
// Anything else, or a value outside the range, is NaN: it is refused, never guessed at.
function parseReference(text) {
    var trimmed = String(text).trim()
    if (!/^(\d+([.,]\d*)?|[.,]\d+)$/.test(trimmed))
        return NaN
    var value = Number(trimmed.replace(",", "."))
    return value >= smallestReference && value <= largestReference ? value : NaN
}

// The range the reference must lie in, written in the user's language.
function referenceRangeTexts(locale) {
    return [Number(smallestReference).toLocaleString(locale, "f", 3),
            Number(largestReference).toLocaleString(locale, "f", 0)]
}
