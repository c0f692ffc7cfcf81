#include "semantics/Twips.h"

#include "semantics/Arithmetic.h"

qint32 TwipsScale::toPixelsX(double twips) const
{
    return Arithmetic::toLong(Arithmetic::divide(twips, double(x)));
}

qint32 TwipsScale::toPixelsY(double twips) const
{
    return Arithmetic::toLong(Arithmetic::divide(twips, double(y)));
}
