// The program: start-up, then one turn after another until the user quits.
#pragma once

namespace fogloom {

// The window title, in Windows-1252: "QEV’s Fogloom — 3".
inline constexpr char WindowTitle[] = "QEV\x92s Fogloom \x97 3";

// Seeds the random values from the clock and names the window.
void startProgram();
// One turn: the menus on the 8-bit screen, then a picture in true colour and the wait for
// a key. Returns false when the user picked the quit item (nothing is drawn then).
bool runTurn();
// Releases the work images, each only if it exists.
void releaseWorkImages();
// Releases the previous work images, then makes the canvas, the snapshot and the stamp
// afresh in the screen's depth, filled with the mask colour: never more than three at once.
void renewWorkImages();
// Start-up and turns until quit; returns the exit status.
int runProgram();

}  // namespace fogloom
