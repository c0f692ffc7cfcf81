#include "semantics/Twips.h"

#include "semantics/Arithmetic.h"
#include "semantics/RuntimeError.h"

namespace Twips {

qint32 toLongPixels(double twips, double twipsPerPixel)
{
    return Arithmetic::toLong(Arithmetic::divide(twips, twipsPerPixel));
}

qint32 toLongPixelsViaSingle(float twips, float twipsPerPixel)
{
    const float quotient = Arithmetic::toSingle(Arithmetic::divide(twips, twipsPerPixel));
    return Arithmetic::toLong(quotient);
}

int toWidgetPixels(float twips, float twipsPerPixel)
{
    // Qt's own limit for a widget is 2^24 - 1 pixels.
    constexpr double kPixelLimit = 16777215.0;
    const double pixels = Arithmetic::roundHalfEven(Arithmetic::divide(twips, twipsPerPixel));
    if (!(pixels >= -kPixelLimit && pixels <= kPixelLimit))
        throw RuntimeError::overflow();
    return static_cast<int>(pixels);
}

} // namespace Twips
