#include "model/FooterButtonLayout.h"

#include "model/ScreenContext.h"
#include "semantics/Arithmetic.h"

namespace {

struct Line
{
    int x1, dy1, x2, dy2; // pixels; y relative to the footer's top edge
    bool hypotenuse;
};

// Legs one pixel wide and a hypotenuse two on the 800-pixel screen, two and
// three on every other.
constexpr Line kLines800[] = {
    { 0, 0, 41, 0, false },
    { 0, 0, 0, 40, false },
    { 0, 40, 40, 0, true },
    { 0, 41, 42, -1, true },
};
constexpr Line kLinesOther[] = {
    { 0, 0, 66, 0, false },
    { 0, 1, 64, 1, false },
    { 0, 0, 0, 65, false },
    { 1, 0, 1, 63, false },
    { 0, 66, 67, -1, true },
    { 0, 65, 65, 0, true },
    { 1, 63, 63, 1, true },
};

} // namespace

FooterButtonFrame footerButtonFrame(const ScreenContext &context)
{
    const int top = context.FooterTop;
    const bool narrow = context.DispHInt == 800;
    FooterButtonFrame frame;
    const Line *begin = narrow ? std::begin(kLines800) : std::begin(kLinesOther);
    const Line *end = narrow ? std::end(kLines800) : std::end(kLinesOther);
    for (const Line *l = begin; l != end; ++l)
        frame.lines.push_back({ QLine(l->x1, top + l->dy1, l->x2, top + l->dy2), l->hypotenuse });
    const int inner = narrow ? 1 : 2; // the triangle's corner
    const int far = narrow ? 38 : 61; // the end of its legs
    frame.triangle << QPoint(inner, top + inner) << QPoint(far, top + inner)
                   << QPoint(inner, top + far);
    return frame;
}

bool footerButtonHit(const ScreenContext &context, QPointF position)
{
    const int x = Arithmetic::toInteger(position.x());
    const int y = Arithmetic::toInteger(position.y());
    return y >= context.FooterTop && y - context.FooterTop <= context.ButtonSize + 1 - x;
}
