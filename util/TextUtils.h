// Text drawing into rectangles and grid cells, shortening a text to a width, and the average
// character size of a canvas's font.
#pragma once

#include "framework/gui/Canvas.h"
#include "framework/gui/Control.h"

enum TVertAlignment { vaTopJustify, vaCenter, vaBottomJustify };

// Text in Rect on the canvas's brush, DX/DY in from the rectangle's left/top. Plain single
// lines in a colour the device shows as it is go straight to the canvas; wrapped text, text
// with line breaks and dithered backgrounds are drawn off-screen first, so nothing flickers.
void WriteText(TCanvas* Canvas, const TRect& Rect, int DX, int DY, const String& Text,
               TAlignment Alignment, bool WordWrap, bool RightToLeft = false);
// A grid cell's text on the grid's canvas, placed vertically in the cell as asked.
void DrawCellTextEx(TCanvas* Canvas, int ACol, int ARow, const String& Text, const TRect& Rect,
                    TAlignment Align, TVertAlignment VertAlign, bool WordWrap,
                    bool RightToLeft = false);
void DrawCellText(TCanvas* Canvas, int ACol, int ARow, const String& Text, const TRect& Rect,
                  TAlignment Align, TVertAlignment VertAlign, bool RightToLeft = false);
// The bitmap centred in the cell.
void DrawCellBitmap(TCanvas* Canvas, int ACol, int ARow, TBitmap* Bitmap, const TRect& Rect);

// Text shortened with "..." to MaxWidth in the canvas's font.
String MinimizeText(const String& Text, TCanvas* Canvas, int MaxWidth);
// The mean width and the height of the canvas font's letters.
TPoint GetAveCharSize(TCanvas* Canvas);
