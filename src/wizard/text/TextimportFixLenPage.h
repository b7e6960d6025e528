#pragma once

#include "engine/TextimportFixLen.h"

// The page logic of the fixed-width road: the marks on the character grid, the grid's content, the split preview
// in the column grid and the reading behind the page's Weiter. The list's operations and the cutting are the
// engine's (engine/TextimportFixLen.h).
namespace wizard {

struct TextImportControls;

// Colours of the marks, as BGR values.
constexpr int clRed = 0x0000FF;
constexpr int clWhite = 0xFFFFFF;

// The marks on the character grid: red draws one, white erases one.
void TrennlinieZeichnen(const TextImportControls& c, int Slot, int Colour);
// The grid anew with the marks of the slots in use.
void TrennlinienNeuZeichnen(const TextImportControls& c);
// The grid anew with the marks of every slot that holds a boundary.
void TrennlinienAlleZeichnen(const TextImportControls& c);

// Editing the marks with the mouse (column: the grid column under the mouse, -1 beyond the last).
// A click sets a mark on a column above 0 where none is.
void TrennposKlick(const TextImportControls& c, int column);
// The left button catches the column's mark for dragging (true when there is one); another button deletes it.
bool TrennposMausGedrueckt(const TextImportControls& c, bool leftButton, int column);
void TrennposDoppelklick(const TextImportControls& c, int column);
// The caught mark follows the mouse to a column above 0; false where no mark may go.
bool TrennposZiehen(const TextImportControls& c, int column);
// The caught mark stays; two marks dropped together become one.
void TrennposAblegen(const TextImportControls& c, int column);

void FixLenZeichenRasterFuellen(const TextImportControls& c);
void FixLenVorschauAufteilen(const TextImportControls& c);
// False when the person cancelled the reading.
bool FixLenDateiEinlesen(const TextImportControls& c);

}  // namespace wizard
