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

void FixLenZeichenRasterFuellen(const TextImportControls& c);
void FixLenVorschauAufteilen(const TextImportControls& c);
void FixLenDateiEinlesen(const TextImportControls& c);

}  // namespace wizard
