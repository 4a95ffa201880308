.pragma library
.import "records.js" as Records

// The fields that head every record made of the measures (the copy, the CSV, the
// saved picture's metadata, the printed page): whose picture, which eye, when, the
// calibration and the program. Labels arrive translated, as in records.js.
//
// info: { picture, reference, eye, savedAt (a Date), calibrated, calibrationReference,
//         unit, pixelsPerUnit, program }
// labels: { picture, reference, eye, savedAt, pixelsPerUnit (with %1 for the unit),
//           program }

function twoDigits(n) {
    return (n < 10 ? "0" : "") + n
}

// ISO 8601 with the local offset, as XMP dates are written.
function isoDateTime(date) {
    var offset = -date.getTimezoneOffset()
    var sign = offset < 0 ? "-" : "+"
    offset = Math.abs(offset)
    return Qt.formatDateTime(date, "yyyy-MM-ddThh:mm:ss") + sign
            + twoDigits(Math.floor(offset / 60)) + ":" + twoDigits(offset % 60)
}

// Three decimals: one picture pixel in ten thousand units still shows.
function pixelsPerUnitValue(info) {
    return Number(info.pixelsPerUnit).toFixed(3)
}

// As stored in the files' metadata: plain values, "." as the decimal sign.
function fields(info) {
    var calibrated = info.calibrated
    return {
        "picture": info.picture,
        "reference": info.reference,
        "eye": info.eye,
        "savedAt": isoDateTime(info.savedAt),
        "calibrationReference": calibrated
                                ? Number(info.calibrationReference).toFixed(
                                      Records.referenceDecimals(info.calibrationReference)) : "",
        "calibrationUnit": calibrated ? info.unit : "",
        "pixelsPerUnit": calibrated ? pixelsPerUnitValue(info) : "",
        "program": info.program
    }
}

// [label, value] rows; with a locale, numbers as the user reads them, without one as
// the CSV keeps them (any program reads them alike). The calibration
// itself is the list's first row.
function headerRows(info, labels, locale) {
    var rows = [[labels.picture, info.picture], [labels.reference, info.reference],
                [labels.eye, info.eye]]
    // Year first in every language: a short local date ("12/9/26") reads two ways.
    rows.push([labels.savedAt, Qt.formatDateTime(info.savedAt, "yyyy-MM-dd hh:mm:ss")])
    if (info.calibrated) {
        var perUnit = pixelsPerUnitValue(info)
        rows.push([labels.pixelsPerUnit.arg(info.unit),
                   locale ? perUnit.replace(".", locale.decimalPoint) : perUnit])
    }
    rows.push([labels.program, info.program])
    return rows
}
