import QtQuick 2.15
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
            "Editar: Pegar imagen",
            "Medidas: Color | Calibrar | Añadir | Borrar el último | Reset",
            "Ver: Ocultar barra de herramientas",
            "Ayuda: Contenidos | - | Acerca de Orvalith"
        ])

        // The computed View text is translated in both states.
        var view = window.menus[3].entries[0]
        view.trigger()
        compare(view.text, "Mostrar barra de herramientas")
        view.trigger()
        compare(view.text, "Ocultar barra de herramientas")

        compare(Helpers.findObject(window, "exportFailedDialog").contentItem.children[0].text,
                "La imagen es demasiado grande para imprimirla o guardarla a su tamaño completo.")
    }

    // The name and version line is the same in every language.
    function test_aboutLine() {
        var window = Helpers.createWindow(testCase)
        var about = Helpers.findObject(window, "about")
        about.open()
        tryCompare(about, "opened", true)
        var texts = []
        var pending = [about.contentItem]
        while (pending.length > 0) {
            var item = pending.shift()
            if (item.text !== undefined)
                texts.push(item.text)
            for (var i = 0; i < item.children.length; ++i)
                pending.push(item.children[i])
        }
        verify(texts.indexOf("Orvalith 3.3.1") >= 0, JSON.stringify(texts))
    }
}
