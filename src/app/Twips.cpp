#include "semantics/Twips.h"

#include "semantics/Arithmetic.h"
#include "os/Platform.h"

qint32 TwipsScale::toPixelsX(double twips) const
{
    return Arithmetic::toLong(Arithmetic::divide(twips, double(x)));
}

qint32 TwipsScale::toPixelsY(double twips) const
{
    return Arithmetic::toLong(Arithmetic::divide(twips, double(y)));
}

TwipsScale TwipsScale::fromScreen()
{
    return TwipsScale { platform().screen->twipsPerPixelX(), platform().screen->twipsPerPixelY() };
}
