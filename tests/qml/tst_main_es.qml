import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.2
import "tst_main_helpers.js" as Helpers

// Runs under a Spanish system locale: the window takes the Spanish catalogue.
TestCase {
    id: testCase
    name: "MainWindowSpanish"
    when: windowShown
    width: 200
    height: 100

    function test_menusInSpanish() {
        var window = Helpers.createWindow(testCase)
        compare(Helpers.describe(Helpers.windowMenus(window)), [
            "Fichero: Abrir Imagen | - | Guardar como | Imprimir | - | Salir",
            "Editar: Deshacer | Rehacer | - | Pegar imagen | - | Borrar medidas",
            "Medidas: Color | Calibrar | Añadir | Añadir ángulo | Ajustar círculo | Borrar el último | Reset",
            "Ver: Ocultar barra de herramientas | - | Acercar | Alejar | Ajustar a la ventana | Píxeles reales",
            "Ayuda: Contenidos | - | Acerca de Orvalith"
        ])

        // The menus are as wide as their longest entries, with their keys.
        Helpers.windowMenus(window).forEach(function (menu) {
            menu.entries.forEach(function (entry) {
                verify(entry.item.width >= entry.item.implicitWidth, entry.text + " is cut off")
            })
        })

        // The computed View text is translated in both states.
        var view = window.menus[3].entries[0]
        view.trigger()
        compare(view.text, "Mostrar barra de herramientas")
        view.trigger()
        compare(view.text, "Ocultar barra de herramientas")

        window.showExportFailure()
        var failed = Helpers.findObject(window, "exportFailedDialog")
        tryCompare(failed, "opened", true)
        var message = "La imagen es demasiado grande para imprimirla o guardarla a su tamaño completo."
        verify(textsIn(failed.contentItem).indexOf(message) >= 0, JSON.stringify(textsIn(failed.contentItem)))
    }

    function textsIn(item) {
        var texts = []
        var pending = [item]
        while (pending.length > 0) {
            var next = pending.shift()
            if (next.text !== undefined)
                texts.push(next.text)
            for (var i = 0; i < next.children.length; ++i)
                pending.push(next.children[i])
        }
        return texts
    }

    // The name and version line is the same in every language; the button's
    // text comes from Qt's own catalogue.
    function test_aboutLine() {
        var window = Helpers.createWindow(testCase)
        Helpers.action(window, "Acerca de Orvalith").trigger()
        var about = Helpers.findObject(window, "about")
        tryCompare(about, "opened", true)
        var texts = textsIn(about.contentItem)
        verify(texts.indexOf("Orvalith 3.3.1") >= 0, JSON.stringify(texts))
        compare(about.standardButton(Dialog.Close).text, "Cerrar")
    }
}
