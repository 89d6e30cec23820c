#!/usr/bin/env python3
"""Writes Marrowfin's offline help pages into share/marrowfin/help/.

One page per command or tool page name the editor opens, plus Contents.htm linking them all.
Each page says what the command or tool does, how to use it and which keys and attributes it
has; pages of toolbar commands show the button's own picture, drawn inline from
resources/icons so that every page stands alone without a network.

Run it again after changing a page:  python3 scripts/make-help.py
"""
import html
import os
import re

ROOT = os.path.join(os.path.dirname(__file__), "..")
OUT = os.path.join(ROOT, "share", "marrowfin", "help")
ICONS = os.path.join(ROOT, "resources", "icons")

# page: (title, section, icon, summary, steps, keys and attributes, see also)
PAGES = {
    # ---- Files and printing ----
    "Standard_IO.htm": ("Opening and closing documents", "Files", None,
        "Each document is a window holding one 2000 by 2000 pixel canvas. Opening a picture makes it the first "
        "object on a new canvas; opening a project brings back every object exactly as it was saved.",
        ["<b>File &gt; New</b> (Ctrl+N) starts an empty canvas.",
         "<b>File &gt; Open</b> (Ctrl+O) shows the open dialog with thumbnails of the pictures in the folder. "
         "Marrowfin reads BMP, JPEG, GIF, TIFF, PNG, HEIC and WebP pictures and its own projects, whatever their "
         "file name says.",
         "You can also drop files from the file manager onto the window, or name them on the command line.",
         "A picture larger than the screen can be shrunk as it opens; transparent margins are trimmed away.",
         "<b>File &gt; Close</b> (Ctrl+W) closes the document and offers to save changes first."],
        [("Ctrl+N, Ctrl+O, Ctrl+W", "new, open, close"),
         ("Recent files", "the last four documents are listed at the end of the File menu")],
        ["Save_File.htm", "Insert_Image.htm", "Document_Windows.htm"]),
    "Save_File.htm": ("Saving pictures and projects", "Files", None,
        "Save writes the whole canvas flattened onto white; a project keeps every object separately so that you "
        "can carry on editing later.",
        ["<b>File &gt; Save</b> (Ctrl+S) or <b>Save As</b>: the end of the name chooses the format. "
         "<i>.jpg</i> writes JPEG, <i>.gif</i> writes GIF (reduced to 256 colours), <i>.png</i> writes PNG and "
         "<i>.tif</i> writes a project. Any other name is saved as a BMP picture.",
         "<b>File &gt; Save Project</b> always writes a project (a multi-page TIFF file): the flattened canvas first, "
         "then each object with its position, group and edge settings.",
         "<b>File &gt; Save Selection</b> writes only the selected object, with its transparency where the format "
         "keeps it."],
        [("Ctrl+S", "save"), ("Ctrl+Shift+S", "save under a new name")],
        ["Standard_IO.htm", "Printer_Operations.htm"]),
    "Printer_Operations.htm": ("Printing", "Files", None,
        "Marrowfin prints the canvas. With the rulers shown the canvas prints at its true size in inches, so a "
        "layout measured on the rulers comes out at that size; without rulers the canvas is fitted to the page.",
        ["<b>File &gt; Print Setup</b> chooses the printer, paper and orientation.",
         "<b>File &gt; Print Preview</b> shows the pages before they print.",
         "<b>File &gt; Print</b> (Ctrl+P) prints the active document."],
        [("Ctrl+P", "print")], ["Rulers.htm", "Word_Templates.htm"]),
    "Document_Windows.htm": ("Document windows", "Files", None,
        "Every open document has its own window inside the main window. All windows share the current tool; the "
        "window in front receives the menu commands.",
        ["Use the <b>Window</b> menu to cascade or tile the document windows.",
         "Click a window's title to bring it to the front.",
         "The title shows the document's file name; a star marks unsaved changes."],
        [("F1", "over the canvas opens the page of the current tool")], ["Standard_IO.htm", "Zoom.htm"]),

    # ---- Edit ----
    "Undo_Redo.htm": ("Undo and Redo", "Edit", "undo",
        "Every object keeps its own history. Undo steps the selected object back one change; Redo steps it forward "
        "again. Deleted objects wait in the delete bin, so Undo with the Move tool brings back the last deleted "
        "object.",
        ["Select the object whose change you want to take back.",
         "Choose <b>Edit &gt; Undo</b> (Ctrl+Z) as often as needed, and <b>Redo</b> (Ctrl+Y) to go forward again.",
         "While a tool such as the Edge Clip tool is working, Undo takes back that tool's last step instead."],
        [("Ctrl+Z", "undo"), ("Ctrl+Y", "redo")],
        ["Empty_History.htm", "Empty_Delete.htm", "Empty_All.htm"]),
    "Copy.htm": ("Copy", "Edit", None,
        "Copy puts the selected object on the clipboard as a picture with its transparency, ready to paste into "
        "another Marrowfin document or into another program.",
        ["Select an object with the Move tool.", "Choose <b>Edit &gt; Copy</b> (Ctrl+C)."],
        [("Ctrl+C", "copy")], ["Cut.htm", "Paste.htm"]),
    "Cut.htm": ("Cut", "Edit", None,
        "Cut takes the selected object away and puts it on the clipboard. When the object lies over another object, "
        "Cut also lifts the pixels of the lower object under the selection's shape, leaving a hole there; Undo on "
        "the lower object fills the hole again.",
        ["Select the object (for example a shape made with Rectangular Select over a photograph).",
         "Choose <b>Edit &gt; Cut</b> (Ctrl+X)."],
        [("Ctrl+X", "cut")], ["Copy.htm", "Paste.htm", "Rectangle_Ellipse.htm"]),
    "Paste.htm": ("Paste", "Edit", None,
        "Paste turns the picture on the clipboard into a new object. Pictures copied in other programs paste "
        "too, with their transparency when the program provides it.",
        ["Click where the new object should go, then choose <b>Edit &gt; Paste</b> (Ctrl+V).",
         "Pasting again without clicking elsewhere places each copy a little lower and further right."],
        [("Ctrl+V", "paste"), ("Right click on the canvas", "Paste and the zoom levels")],
        ["Copy.htm", "Cut.htm"]),
    "Delete.htm": ("Delete", "Edit", None,
        "Delete moves the selected object into the delete bin. Nothing is lost until you empty the bin: Undo with "
        "the Move tool brings the object back.",
        ["Select the object.", "Press Delete, or choose <b>Edit &gt; Delete</b>, or Delete on the object's right-click menu."],
        [("Delete", "delete the selection"), ("Shift+Delete", "opens this page")],
        ["Undo_Redo.htm", "Empty_Delete.htm"]),
    "Insert_Image.htm": ("Insert Image", "Edit", "insert-image",
        "Insert Image adds a picture from a file to the open document as a new object, near the top-left corner "
        "of the canvas. Inserting a project adds all of its objects.",
        ["Choose <b>Edit &gt; Insert Image</b> or the toolbar button.",
         "Pick a file in the dialog; the thumbnails show what each file holds."],
        [], ["Insert_Frame.htm", "Insert_Clipart.htm", "Standard_IO.htm"]),
    "Insert_Frame.htm": ("Insert a Frame", "Edit", "insert-frame",
        "Marrowfin comes with decorative frames: ovals, rectangles, rounded and ornamental borders and arched "
        "windows. Each frame is a picture with a transparent window, sized for one of the stationery templates, so "
        "the photograph below shows through.",
        ["Choose <b>Edit &gt; Insert a Frame</b> or the toolbar button; the dialog opens in the frames folder.",
         "Pick a frame. It becomes a new selected object on top of the others.",
         "Move the photograph under the window with the Move tool; use Move Below or Move Above to change the order.",
         "Use Specialty Crop with the matching preset to cut the framed picture for its template."],
        [("Frames folder", "share/marrowfin/frames"),
         ("Open dialog", "starts in the frames folder; the folder the ordinary Open dialog remembers stays as it was")],
        ["Insert_Clipart.htm", "Above_Below.htm", "Specialty_Crop.htm"]),
    "Insert_Clipart.htm": ("Retro Clipart", "Edit", "retro-clipart",
        "The clipart collection holds transparent pictures for memorial stationery: doves, crosses and symbols of "
        "several faiths, flowers, candles, praying hands, hearts, angel wings, an open book and a sunrise.",
        ["Choose <b>Edit &gt; Retro Clipart</b> or the toolbar button; the dialog opens in the clipart folder.",
         "Pick a picture. It becomes a new selected object on top of the others.",
         "Scale, rotate or recolour it like any other object."],
        [("Clipart folder", "share/marrowfin/clipart"),
         ("Open dialog", "starts in the clipart folder; the folder the ordinary Open dialog remembers stays as it was")],
        ["Insert_Frame.htm", "Scale.htm", "Adjust_Color.htm"]),
    "Above_Below.htm": ("Move Above and Move Below", "Edit", "move-above",
        "Objects lie in a stack: the one on top covers the ones below. Move Above lifts the selected object one "
        "place; Move Below lowers it one place.",
        ["Select the object.", "Choose <b>Move Above</b> or <b>Move Below</b> from the Edit menu, the toolbar or "
         "the object's right-click menu."],
        [("Shift+Up, Shift+Down", "with the Move tool, lift or lower the selection")],
        ["Move_Tool.htm", "Group.htm"]),
    "Group.htm": ("Group and Ungroup", "Edit", "group",
        "A group moves, scales and saves as one object while remembering its members.",
        ["Choose <b>Group</b>: the group tool becomes current.",
         "Click each object that belongs to the group; a second click takes it out again.",
         "Double-click, or choose Group again, to make the group.",
         "Select a group and choose <b>Ungroup</b> to split it back into its objects."],
        [("Click", "mark or unmark an object"), ("Double click", "finish the group")],
        ["Move_Tool.htm", "Above_Below.htm"]),
    "Empty_Delete.htm": ("Empty Delete History Stack", "Edit", None,
        "Deleted objects wait in the delete bin so that they can be brought back. Emptying the bin frees their "
        "memory for good after you confirm.",
        ["Choose <b>Edit &gt; Empty Delete History Stack</b> and confirm."], [],
        ["Delete.htm", "Empty_All.htm"]),
    "Empty_History.htm": ("Empty Object History Stack", "Edit", None,
        "Each object remembers all its earlier states for Undo. Emptying its history keeps the object as it is now "
        "and frees the memory the earlier states used.",
        ["Select the object.", "Choose <b>Edit &gt; Empty Object History Stack</b> and confirm."], [],
        ["Undo_Redo.htm", "Empty_All.htm"]),
    "Empty_All.htm": ("Empty All History Stacks", "Edit", None,
        "Frees every object's history and the delete bin at once. Use it when memory runs low (the MEM sign "
        "shows in the status bar).",
        ["Choose <b>Edit &gt; Empty All History Stacks</b> and confirm."], [],
        ["Empty_History.htm", "Empty_Delete.htm"]),

    # ---- View ----
    "Zoom.htm": ("Zoom", "View", "zoom",
        "The canvas can be shown from 25% to 200% of its size. Zooming never changes the picture, only the view.",
        ["Choose a size from <b>View &gt; Zoom</b>, from the toolbar's zoom button, or from the right-click menu "
         "of the empty canvas.", "The status bar shows the current zoom."],
        [], ["Document_Windows.htm", "Rulers.htm"]),
    "Checkered_Canvas.htm": ("Checkered Canvas", "View", None,
        "Shows a grey checkerboard wherever the canvas is empty, so that transparent parts of objects are easy to "
        "see. It does not print or save.",
        ["Choose <b>View &gt; Checkered Canvas</b> to turn it on or off."], [],
        ["Rulers.htm", "Partial_Transparency.htm"]),
    "Rulers.htm": ("Rulers", "View", None,
        "Shows inch rulers along the canvas edges. With the rulers on, printing uses the canvas's true size, so "
        "you can lay out a card at its real measurements.",
        ["Choose <b>View &gt; Rulers</b> to turn them on or off."], [],
        ["Printer_Operations.htm", "Grid.htm"]),

    # ---- Tools ----
    "Move_Tool.htm": ("Move tool", "Tools", "move",
        "The Move tool selects objects and moves them. The selected object shows a moving dashed outline.",
        ["Click an object to select it; click empty canvas to clear the selection.",
         "Drag to move the object.", "Use the arrow keys to move it one pixel at a time."],
        [("Arrow keys", "move the selection by one pixel"), ("Shift+arrow keys", "change the stacking order"),
         ("Backspace", "delete the selection"), ("Right click on an object", "the object's command menu")],
        ["Above_Below.htm", "Group.htm", "Delete.htm"]),
    "Edge_Clip.htm": ("Edge Clip tool", "Tools", "edge-clip",
        "The Edge Clip tool cuts a person or thing out of a photograph. Between the points you click, the cutting "
        "line follows the strongest edges of the picture by itself, so you need only a few points around the "
        "outline.",
        ["Select the photograph and choose <b>Edge Clip</b>.",
         "Click on the outline of what you want to cut out to set the first anchor.",
         "Move along the outline: the line snaps to the edge. Click again whenever it strays.",
         "Where there is no clear edge, hold Shift or use the right button for a straight segment.",
         "Double-click to close the outline. The cut-out becomes a new object; the photograph stays as it was."],
        [("Click", "set an anchor"), ("Backspace", "take back the last anchor"),
         ("Shift or right button", "straight segment"), ("Double click", "close the outline"),
         ("Right click on the button", "how closely the line follows edges")],
        ["Area_Select.htm", "Rectangle_Ellipse.htm", "Feather.htm"]),
    "Rectangle_Ellipse.htm": ("Rectangular and Ellipse Select", "Tools", "rect-select",
        "These tools cut a rectangle or an ellipse out of the selected object as a new object.",
        ["Select an object and choose <b>Rectangular Select</b> or <b>Ellipse Select</b>.",
         "Drag across the part you want.", "Release the button: the shape becomes a new object."],
        [("Drag", "draw the shape")], ["Edge_Clip.htm", "Cut.htm"]),
    "Area_Select.htm": ("Area Select", "Tools", "area-select",
        "Area Select picks out a region of similar colour, such as a sky or a plain wall, by sampling it.",
        ["Select the object and choose <b>Area Select</b>.",
         "Click, or drag through a representative sample of the area.",
         "The matching area becomes a new object. Press Enter or Space to stop a long search."],
        [("Right click on the button", "tool size and whether only touching pixels count (Connected) or all "
                                       "matching ones (Separated)")],
        ["Flood_Fill.htm", "Flood_Erase.htm", "Edge_Clip.htm"]),
    "Flood_Fill.htm": ("Flood Fill", "Tools", "flood-fill",
        "Flood Fill paints a region of similar colour with the tool colour, either as a solid colour or keeping "
        "the shading while changing the hue.",
        ["Choose <b>Flood Fill</b> and set the colour from its right-click menu.",
         "Click or drag through the region to fill."],
        [("Solid Flood / Hue Flood", "solid colour, or new hue with the old shading"),
         ("Connected / Separated", "only the touching region, or every matching pixel"),
         ("Tool Size", "how wide the sample is")],
        ["Flood_Erase.htm", "Color_Pick.htm"]),
    "Flood_Erase.htm": ("Flood Erase", "Tools", "flood-erase",
        "Flood Erase makes a region of similar colour transparent, for example a plain background behind a person.",
        ["Choose <b>Flood Erase</b>.", "Click or drag through the region to remove."],
        [("Connected / Separated", "only the touching region, or every matching pixel"),
         ("Tool Size", "how wide the sample is")],
        ["Flood_Fill.htm", "Erase_Tool.htm"]),
    "Text.htm": ("Text Box, Single Line", "Tools", "text",
        "The text tool writes one line of text as a new object, ready to move and scale like a picture.",
        ["Choose <b>Text Box, Single Line</b>.", "Click where the text starts and type.",
         "Press Enter, or click again, to make the text an object."],
        [("Backspace", "remove the last character"), ("Enter", "finish the text"),
         ("Right click", "Font and Color of the text")],
        ["Move_Tool.htm", "Scale.htm"]),
    "Scale.htm": ("Scale", "Tools", "scale",
        "Scale changes the size of the selected object by dragging its corners.",
        ["Select an object and choose <b>Scale</b>.", "Drag a corner handle to the new size.",
         "Click away from the handles to finish."],
        [("Drag a corner", "resize")], ["Rotate.htm", "Perspective.htm", "Resample.htm"]),
    "Rotate.htm": ("Rotate", "Tools", "rotate",
        "Rotate turns the selected object about its centre by dragging a corner.",
        ["Select an object and choose <b>Rotate</b>.", "Drag a corner around the centre.",
         "Click away from the handles to finish."],
        [("Drag a corner", "turn")], ["Scale.htm", "Flip_HV.htm"]),
    "Perspective.htm": ("Perspective", "Tools", "perspective",
        "Perspective moves each corner of the object on its own, to lay a picture onto a slanted surface.",
        ["Select an object and choose <b>Perspective</b>.", "Drag each corner where it belongs.",
         "Click away from the handles to finish."],
        [("Drag a corner", "move that corner only")], ["Scale.htm", "Rotate.htm"]),
    "Flip_HV.htm": ("Flip Horizontally and Vertically", "Tools", "flip-horizontal",
        "Flips the selected object as in a mirror, left to right or top to bottom.",
        ["Select the object.", "Choose <b>Flip Horizontally</b> or <b>Flip Vertically</b>."],
        [], ["Rotate.htm"]),
    "Color_Pick.htm": ("Color Pick", "Tools", "color-pick",
        "Takes a colour from the canvas for the tool you were using, for example to paint with the exact colour "
        "of a dress.",
        ["Choose <b>Color Pick</b> while a painting or filling tool is current.",
         "Click the colour on the canvas. The previous tool comes back with that colour."],
        [], ["Solid_Brush.htm", "Flood_Fill.htm"]),
    "Solid_Brush.htm": ("Solid Brush", "Tools", "solid-brush",
        "Paints with the tool colour in round, even strokes on the selected object.",
        ["Choose <b>Solid Brush</b>; set colour and size from its right-click menu.", "Drag across the object."],
        [("Tool Size", "brush width"), ("Bound Rect / Object", "paint within the object's rectangle, or only on "
                                                              "its visible pixels")],
        ["Airbrush.htm", "Color_Pick.htm", "Tool_Attributes.htm"]),
    "Airbrush.htm": ("Airbrush", "Tools", "airbrush",
        "Sprays soft colour that builds up the longer you hold the button, for gentle retouching.",
        ["Choose <b>Airbrush</b>; set pressure and size from its right-click menu.", "Hold and move the button."],
        [("Tool Pressure", "how quickly colour builds up"), ("Tool Size", "spray width")],
        ["Solid_Brush.htm", "Smudge.htm"]),
    "Smudge.htm": ("Smudge Tool", "Tools", "smudge",
        "Pushes colour along the stroke like a finger in wet paint, to soften edges and blemishes.",
        ["Choose <b>Smudge Tool</b>.", "Drag over the area to soften."],
        [("Paint Viscosity", "how far the colour is carried"), ("Tool Size", "width")],
        ["Airbrush.htm", "Kneaded_Eraser.htm"]),
    "Erase_Tool.htm": ("Eraser", "Tools", "eraser",
        "Makes the pixels under the stroke fully transparent.",
        ["Choose <b>Eraser</b>; set its size from the right-click menu.", "Drag over what should go."],
        [("Tool Size", "width"), ("Bound Rect / Object", "where erasing is allowed")],
        ["Kneaded_Eraser.htm", "Flood_Erase.htm"]),
    "Kneaded_Eraser.htm": ("Kneaded Eraser", "Tools", "kneaded-eraser",
        "Fades pixels gradually instead of removing them at once, for soft edges around hair and shadows.",
        ["Choose <b>Kneaded Eraser</b>.", "Drag over the area; pass again to fade further."],
        [("Tool Pressure", "how much each pass fades"), ("Tool Size", "width")],
        ["Erase_Tool.htm", "Feather.htm"]),
    "Grid.htm": ("Grid Lines", "Tools", "grid-lines",
        "Places red guide lines across the canvas for lining objects up. Guides never print or save in the picture.",
        ["Choose <b>Grid Lines</b>.", "Click to place a vertical and a horizontal line through that point.",
         "Double-click to stop placing lines."],
        [("Right click on the button", "Clear Grid"), ("Double click", "leave the tool")],
        ["Rulers.htm", "Move_Tool.htm"]),
    "Tool_Attributes.htm": ("Tool attributes", "Tools", "tool-attributes",
        "Opens the settings of the current tool: colour, size, pressure or the edge response, depending on the "
        "tool. A right click on a tool's button does the same.",
        ["Choose the tool first.", "Click <b>Set Tool Attributes</b> on the toolbar and change the settings."],
        [("Right click on a tool button", "that tool's settings")],
        ["Solid_Brush.htm", "Edge_Clip.htm"]),

    # ---- Colour and filters ----
    "Adjust_Color.htm": ("Adjust Color", "Colour and filters", "adjust-color",
        "Changes the hue, saturation and brightness of the selected object, with a preview while you move the "
        "sliders.",
        ["Select the object and choose <b>Adjust Color</b>.", "Move the sliders until the preview looks right.",
         "Click OK to keep the change, Cancel to leave the object as it was."],
        [], ["Color_Transforms.htm", "RGB_Midrange.htm"]),
    "Color_Transforms.htm": ("Gray, Sepia, Invert and Color Reduce", "Colour and filters", None,
        "Quick colour changes of the selected object: <b>Convert to Gray</b> makes a black-and-white picture, "
        "<b>Sepia Tone</b> gives it the warm brown of old photographs, <b>Invert Color</b> makes a negative and "
        "<b>Color Reduce</b> keeps the 256 colours that best represent it.",
        ["Select the object.", "Choose the command; Undo takes it back."], [],
        ["Adjust_Color.htm", "Equalize_Intensity.htm"]),
    "Equalize_Intensity.htm": ("Equalize Intensity", "Colour and filters", None,
        "Spreads the brightness of the selected object over the whole range, bringing out detail in dull or faded "
        "photographs.",
        ["Select the object and choose <b>Equalize Intensity</b>."], [], ["Contrast.htm", "RGB_Midrange.htm"]),
    "RGB_Midrange.htm": ("Adjust Midrange", "Colour and filters", "midrange",
        "Brightens or darkens the middle tones of the selected object without washing out its lights and darks "
        "(gamma correction).",
        ["Select the object and choose <b>Adjust Midrange</b>.", "Move the slider and click OK."],
        [], ["Contrast.htm", "Equalize_Intensity.htm"]),
    "Contrast.htm": ("Higher and Lower Contrast", "Colour and filters", "contrast-higher",
        "Each click makes the selected object's contrast a step higher or lower.",
        ["Select the object.", "Click <b>Higher Contrast</b> or <b>Lower Contrast</b> until it looks right."],
        [], ["RGB_Midrange.htm", "Equalize_Intensity.htm"]),
    "Smooth.htm": ("Smooth", "Colour and filters", "smooth",
        "Softens the selected object slightly, smoothing grain and small blemishes.",
        ["Select the object and choose <b>Smooth</b>; repeat for a stronger effect."], [],
        ["Sharpen.htm", "Noise_Reduction.htm"]),
    "Sharpen.htm": ("Sharpen", "Colour and filters", "sharpen",
        "Makes edges in the selected object crisper, for photographs that are a little soft.",
        ["Select the object and choose <b>Sharpen</b>."], [], ["Smooth.htm"]),
    "Noise_Reduction.htm": ("Despeckle", "Colour and filters", "despeckle",
        "Removes isolated specks and dust from scanned photographs while keeping edges.",
        ["Select the object and choose <b>Despeckle</b>."], [], ["Smooth.htm"]),
    "Resample.htm": ("Resample", "Colour and filters", "resample",
        "Recalculates a scaled object's pixels smoothly, removing the jagged look that strong enlarging leaves.",
        ["Select the object and choose <b>Resample</b>."], [], ["Scale.htm"]),
    "Artsy_Filters.htm": ("Sketch, Charcoal, Chalk and Paint", "Colour and filters", None,
        "Turns the selected object into a drawing: <b>Sketch</b> draws its edges in pencil, <b>Charcoal</b> and "
        "<b>Chalk</b> imitate those media, and <b>Paint</b> lays it down in brush strokes.",
        ["Select the object.", "Choose the effect from the Filters menu; Undo takes it back."], [],
        ["Color_Transforms.htm"]),

    # ---- Edges ----
    "Blend.htm": ("Blend", "Edges", "blend",
        "Blends the edge of the selected object into what lies below, so that a cut-out sits naturally in its new "
        "background.",
        ["Select the object and click <b>Blend</b>.", "Click again to take the blend off."], [],
        ["Feather.htm", "Partial_Transparency.htm"]),
    "Feather.htm": ("Feather", "Edges", "feather",
        "Fades the object's edge gradually to transparent over a chosen width, for a soft vignette look.",
        ["Select the object and click <b>Feather</b>.",
         "Right-click the Feather button to set how wide the fade is."],
        [("Right click on the button", "feather width")], ["Blend.htm", "Partial_Transparency.htm"]),
    "Partial_Transparency.htm": ("Partial Transparency", "Edges", "transparency",
        "Makes the whole object, or a gradient across it, partly see-through, so that pictures can melt into one "
        "another.",
        ["Select the object and choose <b>Partial Transparency</b>.",
         "Choose the amount and direction in the dialog and click OK."], [],
        ["Blend.htm", "Feather.htm", "Checkered_Canvas.htm"]),

    # ---- Stationery ----
    "Word_Templates.htm": ("Word-processor templates", "Stationery", "word-template",
        "Marrowfin turns a finished picture into stationery. Each template is a printable layout at real paper "
        "and card sizes: service folders, register book pages, bookmarks, thank-you cards, prayer cards and a CD "
        "label and cover.",
        ["Select the finished picture (often the object made by Specialty Crop).",
         "Choose the template from the <b>Templates</b> menu or the template button's drop-down.",
         "Marrowfin copies the picture to the clipboard, writes a new document with the picture in the template's "
         "frames into your Documents folder (never over an earlier one) and opens it in LibreOffice Writer.",
         "Replace the text in square brackets with your own words, then print.",
         "The same documents can be made from a script: <code>marrowfin-cli template \"Prayer Card 4-Up\" "
         "photo.jpg cards.fodt</code>."],
        [("Templates", "Service Folder 1-Up and 2-Up; Register Book Cover, In Memory, Services, Place of Rest and "
                       "Catholic; Bookmark 2-Up and 4-Up; Thank-You Card 2-Up; Prayer Card 4-Up and 8-Up; DVD/CD "
                       "label and cover"),
         ("Enabled", "only while an object is selected")],
        ["Specialty_Crop.htm", "Insert_Frame.htm"]),
    "Specialty_Crop.htm": ("Specialty Crop", "Stationery", "specialty-crop",
        "Cuts a picture of exactly the size a template's frame needs out of the canvas, and can pass it straight "
        "on to the template.",
        ["Choose a preset from the <b>Specialty Crop</b> menu or the toolbar drop-down.",
         "A red outline of the template's picture follows the mouse (a disc for the CD label).",
         "Click to cut. With <b>Auto Import into Word</b> checked, the template opens with the cut picture."],
        [("Double click", "leave the tool without cutting"),
         ("Right click on the button", "only the Auto Import into Word switch")],
        ["Word_Templates.htm", "Insert_Frame.htm"]),
    "Web_Links.htm": ("Links", "Stationery", None,
        "The Links menu opens the artwork partner's pages (covers, interiors, sentiments, stencils and video "
        "tutorials) and the memorial recording service's login page in your browser. Before the login page "
        "opens, Marrowfin offers to save the selected object so that you can upload it.",
        ["Set the addresses once in the settings file <code>~/.config/Marrowfin/Marrowfin.conf</code>:"
         "<pre>[Links]\nArtworkSite=https://artwork.example\nServiceSite=https://service.example</pre>"
         "or in the environment variables <code>MARROWFIN_ARTWORK_SITE</code> and "
         "<code>MARROWFIN_SERVICE_SITE</code>.",
         "A link without an address is greyed out; its status bar text says how to set it."],
        [], ["Contents.htm"]),
}

SECTIONS = ["Files", "Edit", "View", "Tools", "Colour and filters", "Edges", "Stationery"]

STYLE = """body{font-family:'DejaVu Sans',sans-serif;max-width:44em;margin:1.5em auto;padding:0 1em;color:#222;line-height:1.45}
h1{font-size:1.5em;border-bottom:2px solid #8a6d3b;padding-bottom:.2em;display:flex;align-items:center;gap:.5em}
h2{font-size:1.1em;color:#5a4526}table{border-collapse:collapse}td{border-top:1px solid #ddd;padding:.3em .8em .3em 0;vertical-align:top}
td:first-child{white-space:nowrap;font-weight:bold}nav{font-size:.9em;margin-bottom:1em}pre{background:#f4f1ea;padding:.5em}
.icon{width:40px;height:40px;flex:none}"""


def icon_svg(name):
    if not name:
        return ""
    with open(os.path.join(ICONS, name + ".svg"), encoding="utf-8") as f:
        svg = re.sub(r"<\?xml[^>]*\?>", "", f.read()).strip()
    # Sized and marked for the page; the drawing itself is the toolbar's own.
    return re.sub(r"<svg\b", '<svg class="icon" role="img" aria-hidden="true"', svg, count=1)


def page(title, body):
    return (f'<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n<title>Marrowfin Help: '
            f'{html.escape(title)}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n'
            f'<nav><a href="Contents.htm">Contents</a></nav>\n{body}\n</body>\n</html>\n')


def command_page(name, entry):
    title, section, icon, summary, steps, keys, related = entry
    parts = [f"<h1>{icon_svg(icon)}{html.escape(title)}</h1>", f"<p>{summary}</p>", "<h2>How to use it</h2>", "<ol>"]
    parts += [f"<li>{step}</li>" for step in steps]
    parts.append("</ol>")
    if keys:
        parts.append("<h2>Keys and settings</h2>\n<table>")
        parts += [f"<tr><td>{html.escape(key)}</td><td>{html.escape(text)}</td></tr>" for key, text in keys]
        parts.append("</table>")
    parts.append("<p><b>F1</b>: hold it while choosing a menu item, or press it over a toolbar button or the "
                 "canvas, to open the matching page.</p>")
    links = ", ".join(f'<a href="{other}">{html.escape(PAGES[other][0] if other in PAGES else "Contents")}</a>'
                      for other in related)
    parts.append(f"<p>See also: {links}.</p>")
    return page(title, "\n".join(parts))


def contents():
    parts = ["<h1>Marrowfin Help</h1>",
             "<p>Marrowfin cuts people and things out of photographs and arranges them on a canvas for printed "
             "memorial stationery: service folders, register books, prayer cards, bookmarks, thank-you cards and "
             "CD labels.</p>",
             "<h2>Getting started</h2><ol>",
             "<li>Open a photograph with <b>File &gt; Open</b>. It becomes the first object on the canvas.</li>",
             "<li>Cut out the person with the <a href=\"Edge_Clip.htm\">Edge Clip tool</a>, add a "
             "<a href=\"Insert_Frame.htm\">frame</a> or <a href=\"Insert_Clipart.htm\">clipart</a>, and arrange "
             "everything with the <a href=\"Move_Tool.htm\">Move tool</a>.</li>",
             "<li>Cut the finished picture with <a href=\"Specialty_Crop.htm\">Specialty Crop</a> and send it to a "
             "<a href=\"Word_Templates.htm\">template</a>, or save and print it.</li></ol>",
             "<p>Hold F1 while choosing a menu item, or press F1 over a toolbar button or the canvas, to open the "
             "page for that command or tool.</p>"]
    for section in SECTIONS:
        parts.append(f"<h2>{section}</h2><ul>")
        parts += [f'<li><a href="{name}">{html.escape(entry[0])}</a></li>'
                  for name, entry in PAGES.items() if entry[1] == section]
        parts.append("</ul>")
    return page("Contents", "\n".join(parts))


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    for name, entry in PAGES.items():
        with open(os.path.join(OUT, name), "w", encoding="utf-8") as f:
            f.write(command_page(name, entry))
    with open(os.path.join(OUT, "Contents.htm"), "w", encoding="utf-8") as f:
        f.write(contents())
    print(f"wrote {len(PAGES) + 1} pages to {os.path.normpath(OUT)}")
