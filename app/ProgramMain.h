// The program's entry: the application object, the nine forms in their order, the loop.
#pragma once

// Steps 1 to 3 with the exception display around them; returns 0.
int ProgramMain();
// The library's cursors, the application's title and the forms, created in order (the first
// is the main window).
void CreateProgramForms();
