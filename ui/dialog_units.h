#pragma once

#include <QRect>

class QFontMetrics;

// Dialog units of a dialog font, as dialog templates measure their controls: a horizontal unit is
// a quarter of the font's average character width, a vertical one an eighth of its character
// height. Templates laid out in these units keep their proportions on any font.
class DialogUnits {
public:
    explicit DialogUnits(const QFontMetrics& metrics);

    // The average character width as dialog managers take it: the width of the 52 letters A-Z and
    // a-z divided by 52, rounded to the nearest pixel.
    int BaseX() const { return baseX_; }
    // The character height: ascent plus descent.
    int BaseY() const { return baseY_; }

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(const QRect& units) const;

private:
    int baseX_ = 1;
    int baseY_ = 1;
};
