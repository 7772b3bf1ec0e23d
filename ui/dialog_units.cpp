#include "dialog_units.h"

#include <QFontMetrics>
#include <QString>

namespace {

// units * base / divisor, rounded to the nearest integer, halves away from zero.
int Scale(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

} // namespace

DialogUnits::DialogUnits(const QFontMetrics& metrics) {
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = qMax(1, (letters / 26 + 1) / 2);
    baseY_ = qMax(1, metrics.height());
}

int DialogUnits::ToPixelsX(int units) const { return Scale(units, baseX_, 4); }

int DialogUnits::ToPixelsY(int units) const { return Scale(units, baseY_, 8); }

QRect DialogUnits::ToPixels(const QRect& units) const {
    return QRect(ToPixelsX(units.x()), ToPixelsY(units.y()), ToPixelsX(units.width()),
                 ToPixelsY(units.height()));
}
