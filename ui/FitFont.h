// Pixel layouts made for a small dialog font clip their captions under a
// larger desktop font; this keeps their captions whole.
#pragma once

class QWidget;

// Shrinks Widget's font (which its children inherit unless they set their
// own) in half points, to MinPointSize at the least, until the caption of
// Widget and of every label and button in it fits its width. Word-wrapped
// labels and fonts given in pixels are left alone.
void ShrinkFontToFit(QWidget& Widget, double MinPointSize = 7.0);
