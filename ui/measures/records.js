.pragma library

// The measures list as rows of text, and the two texts made from it: the copy (tab
// separated, numbers as the user reads them) and the CSV file (comma separated, "."
// as the decimal sign, so that any program reads it whatever the user's language).
// The labels arrive already translated; nothing here knows the language.
//
// state: { calibrated, reference, unit, items, line { visible, rotation },
//          sector { visible, rotation, angle }, circleDiameter (in the unit, 0 for none),
//          planned { axis (-1 for none), misalignment } }
// labels: { item, value, unit, calibration, measure and angle (with %1), guideLine,
//           firstEdge, secondEdge, sectorAngle, circleDiameter, plannedAxis,
//           misalignment, picture, reference }

var degreeSign = "\u00b0"

// Whole degrees as they are, anything between them with one decimal, as the panel's
// own angle labels show them.
function degreeDecimals(value) {
    return value === Math.round(value) ? 0 : 1
}

// A reference keeps the digits the user typed, up to the three it may carry.
function referenceDecimals(value) {
    for (var decimals = 0; decimals < 3; ++decimals) {
        if (Math.abs(value - Number(value.toFixed(decimals))) < 1e-9)
            return decimals
    }
    return 3
}

function entry(what, value, decimals, unit) {
    return { "what": what, "value": value, "decimals": decimals, "unit": unit }
}

// Every entry the list shows, in the order shown: only finished measures count,
// each kind numbered from 1 as they were placed. Angles need no calibration.
function entries(state, labels) {
    var list = []
    if (state.calibrated)
        list.push(entry(labels.calibration, state.reference, referenceDecimals(state.reference),
                        state.unit))
    var lengths = 0
    var angles = 0
    for (var i = 0; i < state.items.length; ++i) {
        var item = state.items[i]
        if (item.end.x < 0)
            continue
        if (item.kind === "angle")
            list.push(entry(labels.angle.arg(++angles), item.angle, 1, degreeSign))
        else
            list.push(entry(labels.measure.arg(++lengths), item.cachedLength, 2, state.unit))
        list[list.length - 1].measure = i // the row that the list selects and removes
    }
    if (state.calibrated && state.circleDiameter > 0)
        list.push(entry(labels.circleDiameter, state.circleDiameter, 2, state.unit))
    if (state.line.visible)
        list.push(angleEntry(labels.guideLine, state.line.rotation))
    if (state.planned && state.planned.axis >= 0) {
        list.push(entry(labels.plannedAxis, state.planned.axis, 1, degreeSign))
        if (state.line.visible)
            list.push(entry(labels.misalignment, state.planned.misalignment, 1, degreeSign))
    }
    if (state.sector.visible) {
        var rotation = state.sector.rotation
        var angle = state.sector.angle
        list.push(angleEntry(labels.firstEdge, rotation % 360))
        list.push(angleEntry(labels.secondEdge, (rotation + angle) % 360))
        list.push(angleEntry(labels.sectorAngle, angle <= 180 ? angle : 360 - angle))
    }
    return list
}

function angleEntry(what, degrees) {
    return entry(what, degrees, degreeDecimals(degrees), degreeSign)
}

// The number as the user reads it: the language's decimal sign, no grouping.
function localeNumber(value, decimals, locale) {
    var text = Number(value).toFixed(decimals)
    return text.replace(".", locale.decimalPoint)
}

// One row of three texts per entry, numbers written in the user's language.
function rows(list, locale) {
    return list.map(function (e) {
        return [e.what, localeNumber(e.value, e.decimals, locale), e.unit]
    })
}

function header(labels) {
    return [labels.item, labels.value, labels.unit]
}

// A spreadsheet takes a cell starting with "=", "+", "-", "\u2212" or "@" for a
// formula, which a picture's name or a unit may be: such text is marked as text with
// the leading apostrophe spreadsheets use themselves. Numbers are never marked.
function textCell(text) {
    var cell = String(text)
    return /^[=+\-\u2212@]/.test(cell) ? "'" + cell : cell
}

// Tab separated, one line per row after the header: what a spreadsheet takes from
// the clipboard, headed by the record's own [label, value] rows when given. A tab
// or line break typed into a unit cannot split a cell. The number is the middle cell
// of each entry's row; every other cell is text.
function tabText(list, labels, locale, headerRows) {
    var textRows = (headerRows || []).concat([header(labels)])
    var numberRows = rows(list, locale)
    var lines = textRows.concat(numberRows).map(function (row, index) {
        return row.map(function (cell, column) {
            var text = String(cell).replace(/[\t\r\n]+/g, " ")
            return index >= textRows.length && column === 1 ? text : textCell(text)
        }).join("\t")
    })
    return lines.join("\n") + "\n"
}

// Quoted only where a separator, a quote or a line break would otherwise split it.
function csvCell(text) {
    var cell = String(text)
    return /[",\r\n]/.test(cell) ? "\"" + cell.replace(/"/g, "\"\"") + "\"" : cell
}

// The record's own [label, value] rows first (the picture, its reference text...),
// then the header and the entries; lines end in CR LF, as CSV readers expect.
function csvText(list, labels, headerRows) {
    var table = headerRows.map(function (row) {
        return row.map(textCell)
    }).concat([header(labels)])
    list.forEach(function (e) {
        table.push([textCell(e.what), Number(e.value).toFixed(e.decimals), textCell(e.unit)])
    })
    return table.map(function (row) {
        return row.map(csvCell).join(",")
    }).join("\r\n") + "\r\n"
}
