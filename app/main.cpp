// quorvalink.exe: the Windows entry point hands over to the program main.
#include <windows.h>

#include "app/ProgramMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return ProgramMain(); }
