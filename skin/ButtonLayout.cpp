#include "skin/ButtonLayout.h"

TLayoutPlaces PlaceGlyphAndText(TLayoutSize content, TLayoutSize glyph, TLayoutSize text, TButtonLayout layout,
                                int spacing, int margin) noexcept
{
    TLayoutPlaces p;
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    // Across the layout axis both are centred.
    if (horizontal) {
        p.Glyph.Y = content.Y / 2 - glyph.Y / 2;
        p.Text.Y = content.Y / 2 - text.Y / 2;
    } else {
        p.Glyph.X = content.X / 2 - glyph.X / 2;
        p.Text.X = content.X / 2 - text.X / 2;
    }
    int sp = spacing, mg = margin;
    if (text.X == 0 || glyph.X == 0)
        sp = 0;
    const int cs = horizontal ? content.X : content.Y;
    const int gs = horizontal ? glyph.X : glyph.Y;
    const int ts = horizontal ? text.X : text.Y;
    if (mg == -1 && sp == -1) {
        mg = (cs - (gs + ts)) / 3;
        sp = mg;
    } else if (mg == -1) {
        mg = cs / 2 - (gs + sp + ts) / 2;
    } else if (sp == -1) {
        sp = (cs - (mg + gs)) / 2 - ts / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        p.Glyph.X = mg;
        p.Text.X = p.Glyph.X + glyph.X + sp;
        break;
    case blGlyphRight:
        p.Glyph.X = content.X - mg - glyph.X;
        p.Text.X = p.Glyph.X - sp - text.X;
        break;
    case blGlyphTop:
        p.Glyph.Y = mg;
        p.Text.Y = p.Glyph.Y + glyph.Y + sp;
        break;
    case blGlyphBottom:
        p.Glyph.Y = content.Y - mg - glyph.Y;
        p.Text.Y = p.Glyph.Y - sp - text.Y;
        break;
    }
    return p;
}
