<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>main</name>
    <message>
        <source>About Orvalith</source>
        <translation>Acerca de Orvalith</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation>Calibrar</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Contenidos</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichero</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Hide toolbar</source>
        <translation>Ocultar barra de herramientas</translation>
    </message>
    <message>
        <source>Measures</source>
        <translation>Medidas</translation>
    </message>
    <message>
        <source>No web browser could be opened here; the help is at %1</source>
        <translation>No se pudo abrir ningún navegador web; la ayuda está en %1</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Abrir Imagen</translation>
    </message>
    <message>
        <source>Paste image</source>
        <translation>Pegar imagen</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Add angle</source>
        <translation>Añadir ángulo</translation>
    </message>
    <message>
        <source>Fit circle</source>
        <translation>Ajustar círculo</translation>
    </message>
    <message>
        <source>Remove Last</source>
        <translation>Borrar el último</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>Guardar como</translation>
    </message>
    <message>
        <source>Show toolbar</source>
        <translation>Mostrar barra de herramientas</translation>
    </message>
    <message>
        <source>The picture is too large to be printed or saved at its full size.</source>
        <translation>La imagen es demasiado grande para imprimirla o guardarla a su tamaño completo.</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ver</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Acercar</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Alejar</translation>
    </message>
    <message>
        <source>Fit to window</source>
        <translation>Ajustar a la ventana</translation>
    </message>
    <message>
        <source>Actual pixels</source>
        <translation>Píxeles reales</translation>
    </message>
</context>
<context>
    <name>MainPage</name>
    <message>
        <source>L.E.</source>
        <translation>O.I.</translation>
    </message>
    <message>
        <source>R.E.</source>
        <translation>O.D.</translation>
    </message>
    <message>
        <source>This picture is a saved composite: it already carries an overlay. Measure on the original photo, which holds the measures.</source>
        <translation>Esta imagen es una composición guardada: ya lleva una superposición. Mida sobre la foto original, que conserva las medidas.</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Anterior</translation>
    </message>
</context>
<context>
    <name>MainPageForm.ui</name>
    <message>
        <source>10 degrees</source>
        <translation>10 grados</translation>
    </message>
    <message>
        <source>5 degrees</source>
        <translation>5 grados</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Ángulo</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Guide Line</source>
        <translation>Linea guia</translation>
    </message>
    <message>
        <source>L.E.</source>
        <translation>O.I.</translation>
    </message>
    <message>
        <source>Left Eye</source>
        <translation>Ojo izquierdo</translation>
    </message>
    <message>
        <source>Line Color</source>
        <translation>Color de linea</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Abrir imagen</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>Reference</source>
        <translation>Referencia</translation>
    </message>
    <message>
        <source>Right Eye</source>
        <translation>Ojo derecho</translation>
    </message>
    <message>
        <source>Rotation</source>
        <translation>Rotación</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>Guardar como</translation>
    </message>
    <message>
        <source>Sector</source>
        <translation>Sector</translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Color de texto</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Ancho</translation>
    </message>
    <message>
        <source>Magnifier</source>
        <translation>Lupa</translation>
    </message>
</context>
<context>
    <name>PictureIntakeView</name>
    <message>
        <source>This picture is incomplete: the part of it that is missing shows grey.</source>
        <translation>Esta imagen está incompleta: la parte que falta se ve gris.</translation>
    </message>
    <message>
        <source>Keep it</source>
        <translation>Conservarla</translation>
    </message>
    <message>
        <source>Discard it</source>
        <translation>Descartarla</translation>
    </message>
</context>
<context>
    <name>MeasuresList</name>
    <message>
        <source>Item</source>
        <translation>Elemento</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valor</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Unidad</translation>
    </message>
    <message>
        <source>Calibration</source>
        <translation>Calibración</translation>
    </message>
    <message>
        <source>Measure %1</source>
        <translation>Medida %1</translation>
    </message>
    <message>
        <source>Guide line</source>
        <translation>Línea guía</translation>
    </message>
    <message>
        <source>Sector edge 1</source>
        <translation>Sector, borde 1</translation>
    </message>
    <message>
        <source>Sector edge 2</source>
        <translation>Sector, borde 2</translation>
    </message>
    <message>
        <source>Sector angle</source>
        <translation>Ángulo del sector</translation>
    </message>
    <message>
        <source>Eye</source>
        <translation>Ojo</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Guardado</translation>
    </message>
    <message>
        <source>Picture pixels per %1</source>
        <translation>Píxeles de la imagen por %1</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programa</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Imagen</translation>
    </message>
    <message>
        <source>Reference</source>
        <translation>Referencia</translation>
    </message>
    <message>
        <source>measurements</source>
        <translation>medidas</translation>
    </message>
    <message>
        <source>Measurements</source>
        <translation>Medidas</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Save measurements…</source>
        <translation>Guardar medidas…</translation>
    </message>
    <message>
        <source>Remove measure</source>
        <translation>Quitar medida</translation>
    </message>
    <message>
        <source>Angle %1</source>
        <translation>Ángulo %1</translation>
    </message>
    <message>
        <source>Circle diameter</source>
        <translation>Diámetro del círculo</translation>
    </message>
    <message>
        <source>Planned axis</source>
        <translation>Eje planificado</translation>
    </message>
    <message>
        <source>Misalignment</source>
        <translation>Desalineación</translation>
    </message>
</context>
<context>
    <name>PrintHelper</name>
    <message>
        <source>Images (*.png *.jpg)</source>
        <translation>Imágenes (*.png *.jpg)</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Guardar fichero</translation>
    </message>
    <message>
        <source>There was an error saving the image.</source>
        <translation>Se produjo un error guardando la imagen.</translation>
    </message>
    <message>
        <source>measured</source>
        <translation>medido</translation>
    </message>
    <message>
        <source>The file name does not end in a picture format such as .png or .jpg.</source>
        <translation>El nombre del fichero no termina en un formato de imagen como .png o .jpg.</translation>
    </message>
    <message>
        <source>The name belongs to something that is not a file.</source>
        <translation>El nombre pertenece a algo que no es un fichero.</translation>
    </message>
    <message>
        <source>Writing in that folder is not permitted, or its disk is read-only.</source>
        <translation>No se permite escribir en esa carpeta, o su disco es de solo lectura.</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>El disco está lleno.</translation>
    </message>
    <message>
        <source>The folder does not exist.</source>
        <translation>La carpeta no existe.</translation>
    </message>
</context>
<context>
    <name>RecordExport</name>
    <message>
        <source>Save measurements</source>
        <translation>Guardar medidas</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ya existe.
¿Desea reemplazarlo?</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Archivos CSV (*.csv)</translation>
    </message>
    <message>
        <source>The measurements could not be saved.</source>
        <translation>No se pudieron guardar las medidas.</translation>
    </message>
</context>
<context>
    <name>MeasurementDocument</name>
    <message>
        <source>Add measure</source>
        <translation>Añadir medida</translation>
    </message>
    <message>
        <source>Remove measure</source>
        <translation>Quitar medida</translation>
    </message>
    <message>
        <source>Move point</source>
        <translation>Mover punto</translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation>Calibrar</translation>
    </message>
    <message>
        <source>Move circle</source>
        <translation>Mover círculo</translation>
    </message>
    <message>
        <source>Change radius</source>
        <translation>Cambiar radio</translation>
    </message>
    <message>
        <source>Turn guide line</source>
        <translation>Girar línea guía</translation>
    </message>
    <message>
        <source>Turn sector edge</source>
        <translation>Girar borde del sector</translation>
    </message>
    <message>
        <source>Clear measures</source>
        <translation>Borrar medidas</translation>
    </message>
    <message>
        <source>Fit circle</source>
        <translation>Ajustar círculo</translation>
    </message>
    <message>
        <source>Change planned axis</source>
        <translation>Cambiar eje planificado</translation>
    </message>
</context>
<context>
    <name>RecordStore</name>
    <message>
        <source>The measures could not be kept in %1.</source>
        <translation>No se pudieron guardar las medidas en %1.</translation>
    </message>
    <message>
        <source>The record of this picture could not be read; it was set aside as %1.</source>
        <translation>No se pudo leer el registro de esta imagen; se ha apartado como %1.</translation>
    </message>
    <message>
        <source>The measures of this picture were restored.</source>
        <translation>Se han restaurado las medidas de esta imagen.</translation>
    </message>
</context>
<context>
    <name>CalibrationBox</name>
    <message>
        <source>Calibration reference value</source>
        <translation>Valor de referencia de calibración</translation>
    </message>
    <message>
        <source>unit</source>
        <translation>unidad</translation>
    </message>
    <message>
        <source>Type a number from %1 to %2.</source>
        <translation>Escriba un número de %1 a %2.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>ColorDialogs</name>
    <message>
        <source>Text color</source>
        <translation>Color de texto</translation>
    </message>
    <message>
        <source>Sector color</source>
        <translation>Color de sector</translation>
    </message>
    <message>
        <source>Guide line color</source>
        <translation>Color de linea de guia</translation>
    </message>
    <message>
        <source>Line color</source>
        <translation>Color de linea</translation>
    </message>
    <message>
        <source>Measures color</source>
        <translation>Color de las medidas</translation>
    </message>
</context>
<context>
    <name>EditActions</name>
    <message>
        <source>Undo %1</source>
        <translation>Deshacer %1</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Rehacer %1</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Clear measures</source>
        <translation>Borrar medidas</translation>
    </message>
</context>
<context>
    <name>PictureOpening</name>
    <message>
        <source>The picture is too large: it may be at most %1 pixels wide and high, and %2 megapixels in all.</source>
        <translation>La imagen es demasiado grande: puede tener como máximo %1 píxeles de ancho y de alto, y %2 megapíxeles en total.</translation>
    </message>
    <message>
        <source>The picture could not be opened; choose another JPEG or PNG file.</source>
        <translation>No se pudo abrir la imagen; elija otro archivo JPEG o PNG.</translation>
    </message>
    <message>
        <source>Pick an image</source>
        <translation>Selecciona una imagen</translation>
    </message>
</context>
<context>
    <name>PictureRecord</name>
    <message>
        <source>The measures of this picture were restored.</source>
        <translation>Se han restaurado las medidas de esta imagen.</translation>
    </message>
</context>
<context>
    <name>MeasuringSteps</name>
    <message>
        <source>Click on the calibration ending point.</source>
        <translation>Elija el punto final para la calibración.</translation>
    </message>
    <message>
        <source>Click on the ending point.</source>
        <translation>Elija el punto final.</translation>
    </message>
    <message>
        <source>The measures and the calibration were cleared for the new picture.</source>
        <translation>Se borraron las medidas y la calibración para la nueva imagen.</translation>
    </message>
    <message>
        <source>Click on the calibration starting point.</source>
        <translation>Elija el punto inicial para la calibración.</translation>
    </message>
    <message>
        <source>Click on the starting point.</source>
        <translation>Elija el punto inicial.</translation>
    </message>
    <message>
        <source>Click on the vertex.</source>
        <translation>Elija el vértice.</translation>
    </message>
    <message>
        <source>Click on the other end.</source>
        <translation>Elija el otro extremo.</translation>
    </message>
    <message>
        <source>Click on one end of the angle.</source>
        <translation>Elija un extremo del ángulo.</translation>
    </message>
</context>
<context>
    <name>CircleFitting</name>
    <message>
        <source>Click on at least three points of the circle&apos;s edge.</source>
        <translation>Elija al menos tres puntos del borde del círculo.</translation>
    </message>
    <message>
        <source>These points lie on one line: they make no circle.</source>
        <translation>Estos puntos están en una línea: no forman un círculo.</translation>
    </message>
    <message>
        <source>The circle&apos;s radius was limited to the slider&apos;s range. Largest deviation: %1 picture pixels.</source>
        <translation>El radio del círculo se limitó al rango del control deslizante. Desviación máxima: %1 píxeles de la imagen.</translation>
    </message>
    <message>
        <source>Largest deviation: %1 picture pixels. Enter or a click on the first point ends the fit.</source>
        <translation>Desviación máxima: %1 píxeles de la imagen. Intro o un clic en el primer punto termina el ajuste.</translation>
    </message>
</context>
<context>
    <name>PlannedAxisField</name>
    <message>
        <source>Planned axis</source>
        <translation>Eje planificado</translation>
    </message>
</context>
</TS>
